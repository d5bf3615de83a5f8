#include "media/kel/listing.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace corvane::kel {
namespace {

class TListing {
public:
  explicit TListing(const std::vector<TArchiveEntry>& entries) {
    paths_.reserve(entries.size());
    records_.reserve(entries.size());
    for (const TArchiveEntry& entry : entries) {
      const std::string& path = paths_.emplace_back(entry.ansiPath);
      uint32_t flags = 0;
      if (entry.isFolder) flags |= KEL_ITEM_FOLDER;
      if (entry.encrypted) flags |= KEL_ITEM_ENCRYPTED;
      records_.push_back({path.c_str(), entry.index, entry.size, entry.packedSize, entry.creationTime,
                          entry.modificationTime, entry.attributes, flags});
    }
  }
  const TArchiveItemRecord* Records() const { return records_.data(); }
  uint32_t Count() const { return static_cast<uint32_t>(records_.size()); }

private:
  std::vector<std::string> paths_;  // reserved up front: the records point into it
  std::vector<TArchiveItemRecord> records_;
};

// Handles are numbers, never reused, so a stale or doubled close finds
// nothing instead of freeing someone else's array.
struct TListingTable {
  std::mutex lock;
  std::map<uintptr_t, std::unique_ptr<TListing>> listings;
  uintptr_t nextHandle = 1;
};

TListingTable& Table() {
  static TListingTable table;
  return table;
}

}  // namespace

uintptr_t AddListing(const std::vector<TArchiveEntry>& entries, const TArchiveItemRecord** items, uint32_t* count) {
  auto listing = std::make_unique<TListing>(entries);
  TListingTable& table = Table();
  const std::lock_guard guard(table.lock);
  const uintptr_t handle = table.nextHandle++;
  *items = listing->Records();
  *count = listing->Count();
  table.listings.emplace(handle, std::move(listing));
  return handle;
}

void RemoveListing(uintptr_t handle) {
  TListingTable& table = Table();
  const std::lock_guard guard(table.lock);
  table.listings.erase(handle);
}

}  // namespace corvane::kel
