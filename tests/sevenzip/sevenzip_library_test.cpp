// Loads the 7-Zip libraries built by tools/build-7zip by full path, the way the
// archive library will, and checks what they offer and that they decode real
// archives. The COM-style interfaces are declared here from their published
// layout; nothing of 7-Zip's own is compiled in.
#include <windows.h>
#include <oleauto.h>
#include <propidl.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "tests/support/fixture_paths.h"

// COM interfaces: the destructor is never called through them.
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

// Outside the anonymous namespace: the compiler must not conclude that no
// implementation of these exists (the libraries hold them) and drop the calls.
namespace sevenzip_abi {

constexpr GUID Iid7z(unsigned char group, unsigned char sub) {
  return {0x23170F69, 0x40C1, 0x278A, {0, 0, 0, group, 0, sub, 0, 0}};
}
constexpr GUID kIidSequentialInStream = Iid7z(3, 0x01);
constexpr GUID kIidSequentialOutStream = Iid7z(3, 0x02);
constexpr GUID kIidInStream = Iid7z(3, 0x03);
constexpr GUID kIidProgress = Iid7z(0, 0x05);
constexpr GUID kIidCodecsInfo = Iid7z(4, 0x60);
constexpr GUID kIidSetCodecsInfo = Iid7z(4, 0x61);
constexpr GUID kIidCryptoGetTextPassword = Iid7z(5, 0x10);
constexpr GUID kIidArchiveOpenCallback = Iid7z(6, 0x10);
constexpr GUID kIidArchiveExtractCallback = Iid7z(6, 0x20);
constexpr GUID kIidInArchive = Iid7z(6, 0x60);

// Property ids.
constexpr PROPID kMethodId = 0, kMethodName = 1, kMethodDecoderIsAssigned = 7;
constexpr PROPID kHandlerName = 0, kHandlerClassId = 1;
constexpr PROPID kItemPath = 3, kItemIsDir = 6, kItemSize = 7;
constexpr INT32 kAskExtract = 0, kResultOk = 0;

struct ISequentialInStream : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Read(void* data, UINT32 size, UINT32* processed) = 0;
};
struct IInStream : ISequentialInStream {
  virtual HRESULT STDMETHODCALLTYPE Seek(INT64 offset, UINT32 origin, UINT64* position) = 0;
};
struct ISequentialOutStream : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Write(const void* data, UINT32 size, UINT32* processed) = 0;
};
struct IProgress : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetTotal(UINT64 total) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetCompleted(const UINT64* done) = 0;
};
struct IArchiveOpenCallback : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetTotal(const UINT64* files, const UINT64* bytes) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetCompleted(const UINT64* files, const UINT64* bytes) = 0;
};
struct IArchiveExtractCallback : IProgress {
  virtual HRESULT STDMETHODCALLTYPE GetStream(UINT32 index, ISequentialOutStream** stream, INT32 askMode) = 0;
  virtual HRESULT STDMETHODCALLTYPE PrepareOperation(INT32 askMode) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetOperationResult(INT32 result) = 0;
};
struct ICryptoGetTextPassword : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE CryptoGetTextPassword(BSTR* password) = 0;
};
struct IInArchive : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Open(IInStream* stream, const UINT64* maxCheckStart,
                                        IArchiveOpenCallback* callback) = 0;
  virtual HRESULT STDMETHODCALLTYPE Close() = 0;
  virtual HRESULT STDMETHODCALLTYPE GetNumberOfItems(UINT32* count) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetProperty(UINT32 index, PROPID id, PROPVARIANT* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE Extract(const UINT32* indices, UINT32 count, INT32 testMode,
                                           IArchiveExtractCallback* callback) = 0;
  // The remaining property-listing methods are not called here.
};
struct ICompressCodecsInfo : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetNumMethods(UINT32* count) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetProperty(UINT32 index, PROPID id, PROPVARIANT* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateDecoder(UINT32 index, const GUID* iid, void** coder) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateEncoder(UINT32 index, const GUID* iid, void** coder) = 0;
};
struct ISetCompressCodecsInfo : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetCompressCodecsInfo(ICompressCodecsInfo* codecs) = 0;
};

}  // namespace sevenzip_abi

namespace {

using namespace sevenzip_abi;
using corvane::test::FixturePath;
using corvane::test::WinePathOf;

using FnGetNumber = HRESULT(WINAPI*)(UINT32*);
using FnGetProperty = HRESULT(WINAPI*)(UINT32, PROPID, PROPVARIANT*);
using FnCreateObject = HRESULT(WINAPI*)(const GUID*, const GUID*, void**);
using FnCreateCoder = HRESULT(WINAPI*)(UINT32, const GUID*, void**);

// Objects below live on the stack and outlive every use 7-Zip makes of them,
// so reference counts are kept only to answer correctly.
template <typename... Interfaces>
class TStackObject : public Interfaces... {
public:
  TStackObject(std::initializer_list<GUID> iids) : iids_(iids) {}
  virtual ~TStackObject() = default;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    *out = nullptr;
    if (iid == IID_IUnknown) {
      *out = static_cast<IUnknown*>(static_cast<std::tuple_element_t<0, std::tuple<Interfaces...>>*>(this));
    } else {
      for (const GUID& g : iids_) {
        if (iid == g) *out = Cast(iid);
      }
    }
    if (!*out) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
  ULONG STDMETHODCALLTYPE Release() override { return InterlockedDecrement(&refs_); }

protected:
  // Which base answers for which id.
  virtual void* Cast(REFIID iid) = 0;

private:
  std::vector<GUID> iids_;
  LONG refs_ = 1;
};

std::string Narrow(const wchar_t* text) {
  std::string out;
  for (; text && *text; ++text) out += static_cast<char>(*text);
  return out;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream data;
  data << in.rdbuf();
  return data.str();
}

class TMemoryInStream : public TStackObject<IInStream> {
public:
  explicit TMemoryInStream(std::string data)
      : TStackObject({kIidSequentialInStream, kIidInStream}), data_(std::move(data)) {}
  HRESULT STDMETHODCALLTYPE Read(void* out, UINT32 size, UINT32* processed) override {
    UINT64 n = pos_ < data_.size() ? std::min<UINT64>(size, data_.size() - pos_) : 0;
    std::memcpy(out, data_.data() + pos_, n);
    pos_ += n;
    if (processed) *processed = static_cast<UINT32>(n);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Seek(INT64 offset, UINT32 origin, UINT64* position) override {
    INT64 base = origin == 0 ? 0 : origin == 1 ? static_cast<INT64>(pos_) : static_cast<INT64>(data_.size());
    if (origin > 2) return STG_E_INVALIDFUNCTION;
    if (base + offset < 0) return HRESULT_FROM_WIN32(ERROR_NEGATIVE_SEEK);
    pos_ = static_cast<UINT64>(base + offset);
    if (position) *position = pos_;
    return S_OK;
  }

protected:
  void* Cast(REFIID) override { return static_cast<IInStream*>(this); }

private:
  std::string data_;
  UINT64 pos_ = 0;
};

class TStringOutStream : public TStackObject<ISequentialOutStream> {
public:
  explicit TStringOutStream(std::string* target) : TStackObject({kIidSequentialOutStream}), target_(target) {}
  HRESULT STDMETHODCALLTYPE Write(const void* data, UINT32 size, UINT32* processed) override {
    target_->append(static_cast<const char*>(data), size);
    if (processed) *processed = size;
    return S_OK;
  }

protected:
  void* Cast(REFIID) override { return static_cast<ISequentialOutStream*>(this); }

private:
  std::string* target_;
};

class TOpenCallback : public TStackObject<IArchiveOpenCallback, ICryptoGetTextPassword> {
public:
  explicit TOpenCallback(std::wstring password)
      : TStackObject({kIidArchiveOpenCallback, kIidCryptoGetTextPassword}), password_(std::move(password)) {}
  HRESULT STDMETHODCALLTYPE SetTotal(const UINT64*, const UINT64*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetCompleted(const UINT64*, const UINT64*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE CryptoGetTextPassword(BSTR* password) override {
    *password = SysAllocString(password_.c_str());
    return S_OK;
  }

protected:
  void* Cast(REFIID iid) override {
    if (iid == kIidCryptoGetTextPassword) return static_cast<ICryptoGetTextPassword*>(this);
    return static_cast<IArchiveOpenCallback*>(this);
  }

private:
  std::wstring password_;
};

// Collects every item's bytes and the result 7-Zip reports for it.
class TExtractCallback : public TStackObject<IArchiveExtractCallback, ICryptoGetTextPassword> {
public:
  TExtractCallback(std::wstring password, size_t items)
      : TStackObject({kIidProgress, kIidArchiveExtractCallback, kIidCryptoGetTextPassword}),
        password_(std::move(password)), data_(items), results_(items, -1) {}
  HRESULT STDMETHODCALLTYPE SetTotal(UINT64) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetCompleted(const UINT64*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetStream(UINT32 index, ISequentialOutStream** stream, INT32 askMode) override {
    *stream = nullptr;
    current_ = index;
    if (askMode != kAskExtract || index >= data_.size()) return S_OK;
    streams_.emplace_back(std::make_unique<TStringOutStream>(&data_[index]));
    *stream = streams_.back().get();
    (*stream)->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE PrepareOperation(INT32) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetOperationResult(INT32 result) override {
    if (current_ < results_.size()) results_[current_] = result;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE CryptoGetTextPassword(BSTR* password) override {
    *password = SysAllocString(password_.c_str());
    return S_OK;
  }
  const std::vector<std::string>& Data() const { return data_; }
  const std::vector<INT32>& Results() const { return results_; }

protected:
  void* Cast(REFIID iid) override {
    if (iid == kIidCryptoGetTextPassword) return static_cast<ICryptoGetTextPassword*>(this);
    return static_cast<IArchiveExtractCallback*>(this);
  }

private:
  std::wstring password_;
  std::vector<std::string> data_;
  std::vector<INT32> results_;
  std::vector<std::unique_ptr<TStringOutStream>> streams_;
  UINT32 current_ = 0;
};

class TLibrary {
public:
  explicit TLibrary(const std::string& relative)
      : path_(WinePathOf(std::string(CORVANE_7ZIP_DIR) + "/" + relative)), module_(LoadLibraryA(path_.c_str())) {}
  ~TLibrary() {
    if (module_) FreeLibrary(module_);
  }
  TLibrary(const TLibrary&) = delete;
  TLibrary& operator=(const TLibrary&) = delete;

  bool Loaded() const { return module_ != nullptr; }
  const std::string& Path() const { return path_; }
  template <typename F>
  F Get(const char* name) const {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
  }

private:
  std::string path_;
  HMODULE module_;
};

struct TMethod {
  std::string name;
  UINT64 id = 0;
  bool decoder = false;
};

std::vector<TMethod> MethodsOf(const TLibrary& lib) {
  std::vector<TMethod> methods;
  auto count = lib.Get<FnGetNumber>("GetNumberOfMethods");
  auto property = lib.Get<FnGetProperty>("GetMethodProperty");
  if (!count || !property) return methods;
  UINT32 n = 0;
  if (count(&n) != S_OK) return methods;
  for (UINT32 i = 0; i < n; ++i) {
    TMethod m;
    PROPVARIANT v;
    PropVariantInit(&v);
    if (property(i, kMethodName, &v) == S_OK && v.vt == VT_BSTR) m.name = Narrow(v.bstrVal);
    PropVariantClear(&v);
    if (property(i, kMethodId, &v) == S_OK && v.vt == VT_UI8) m.id = v.uhVal.QuadPart;
    PropVariantClear(&v);
    if (property(i, kMethodDecoderIsAssigned, &v) == S_OK && v.vt == VT_BOOL) m.decoder = v.boolVal != VARIANT_FALSE;
    PropVariantClear(&v);
    methods.push_back(m);
  }
  return methods;
}

std::set<std::string> NamesOf(const std::vector<TMethod>& methods) {
  std::set<std::string> names;
  for (const TMethod& m : methods) names.insert(m.name);
  return names;
}

struct TFormat {
  std::string name;
  GUID classId{};
};

std::vector<TFormat> FormatsOf(const TLibrary& lib) {
  std::vector<TFormat> formats;
  auto count = lib.Get<FnGetNumber>("GetNumberOfFormats");
  auto property = lib.Get<FnGetProperty>("GetHandlerProperty2");
  if (!count || !property) return formats;
  UINT32 n = 0;
  if (count(&n) != S_OK) return formats;
  for (UINT32 i = 0; i < n; ++i) {
    TFormat f;
    PROPVARIANT v;
    PropVariantInit(&v);
    if (property(i, kHandlerName, &v) == S_OK && v.vt == VT_BSTR) f.name = Narrow(v.bstrVal);
    PropVariantClear(&v);
    if (property(i, kHandlerClassId, &v) == S_OK && v.vt == VT_BSTR && SysStringByteLen(v.bstrVal) == sizeof(GUID))
      std::memcpy(&f.classId, v.bstrVal, sizeof(GUID));
    PropVariantClear(&v);
    formats.push_back(f);
  }
  return formats;
}

// The host side of external codecs: every method of several codec libraries
// offered to a format library as one list.
class TCodecSet : public TStackObject<ICompressCodecsInfo> {
public:
  TCodecSet() : TStackObject({kIidCodecsInfo}) {}
  void Add(const TLibrary& lib) {
    Entry e{lib.Get<FnGetProperty>("GetMethodProperty"), lib.Get<FnCreateCoder>("CreateDecoder"),
            lib.Get<FnCreateCoder>("CreateEncoder"), 0};
    UINT32 n = 0;
    auto count = lib.Get<FnGetNumber>("GetNumberOfMethods");
    if (!count || !e.property || !e.decoder || count(&n) != S_OK) return;
    for (e.index = 0; e.index < n; ++e.index) entries_.push_back(e);
  }
  size_t Size() const { return entries_.size(); }
  HRESULT STDMETHODCALLTYPE GetNumMethods(UINT32* count) override {
    *count = static_cast<UINT32>(entries_.size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetProperty(UINT32 index, PROPID id, PROPVARIANT* value) override {
    return index < entries_.size() ? entries_[index].property(entries_[index].index, id, value) : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE CreateDecoder(UINT32 index, const GUID* iid, void** coder) override {
    return index < entries_.size() ? entries_[index].decoder(entries_[index].index, iid, coder) : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE CreateEncoder(UINT32 index, const GUID* iid, void** coder) override {
    if (index >= entries_.size() || !entries_[index].encoder) return E_NOTIMPL;
    return entries_[index].encoder(entries_[index].index, iid, coder);
  }

protected:
  void* Cast(REFIID) override { return static_cast<ICompressCodecsInfo*>(this); }

private:
  struct Entry {
    FnGetProperty property;
    FnCreateCoder decoder;
    FnCreateCoder encoder;
    UINT32 index;
  };
  std::vector<Entry> entries_;
};

struct TItem {
  std::string path;
  bool dir = false;
  UINT64 size = 0;
  std::string data;
};

// Opens an archive with the 7z handler of `lib` (given codecs, if any), lists
// and extracts it. Empty result and a failure message when something fails.
testing::AssertionResult OpenAndExtract(const TLibrary& lib, const std::string& archive, const std::wstring& password,
                                        ICompressCodecsInfo* codecs, std::vector<TItem>* items) {
  auto create = lib.Get<FnCreateObject>("CreateObject");
  std::vector<TFormat> formats = FormatsOf(lib);
  if (!create || formats.empty() || formats[0].name != "7z") return testing::AssertionFailure() << "no 7z format";
  IInArchive* arc = nullptr;
  if (create(&formats[0].classId, &kIidInArchive, reinterpret_cast<void**>(&arc)) != S_OK || !arc)
    return testing::AssertionFailure() << "CreateObject failed";
  if (codecs) {
    ISetCompressCodecsInfo* set = nullptr;
    if (arc->QueryInterface(kIidSetCodecsInfo, reinterpret_cast<void**>(&set)) != S_OK) {
      arc->Release();
      return testing::AssertionFailure() << "handler takes no codecs";
    }
    HRESULT hr = set->SetCompressCodecsInfo(codecs);
    set->Release();
    if (hr != S_OK) {
      arc->Release();
      return testing::AssertionFailure() << "SetCompressCodecsInfo: " << std::hex << hr;
    }
  }
  TMemoryInStream stream(ReadFile(archive));
  TOpenCallback openCallback(password);
  const UINT64 maxCheck = 1 << 20;
  HRESULT hr = arc->Open(&stream, &maxCheck, &openCallback);
  testing::AssertionResult result = testing::AssertionSuccess();
  UINT32 count = 0;
  if (hr != S_OK) {
    result = testing::AssertionFailure() << "Open: " << std::hex << hr;
  } else if (arc->GetNumberOfItems(&count) != S_OK) {
    result = testing::AssertionFailure() << "GetNumberOfItems failed";
  } else {
    items->assign(count, {});
    for (UINT32 i = 0; i < count; ++i) {
      PROPVARIANT v;
      PropVariantInit(&v);
      if (arc->GetProperty(i, kItemPath, &v) == S_OK && v.vt == VT_BSTR) (*items)[i].path = Narrow(v.bstrVal);
      PropVariantClear(&v);
      if (arc->GetProperty(i, kItemIsDir, &v) == S_OK && v.vt == VT_BOOL) (*items)[i].dir = v.boolVal != VARIANT_FALSE;
      PropVariantClear(&v);
      if (arc->GetProperty(i, kItemSize, &v) == S_OK && v.vt == VT_UI8) (*items)[i].size = v.uhVal.QuadPart;
      PropVariantClear(&v);
    }
    TExtractCallback extract(password, count);
    hr = arc->Extract(nullptr, static_cast<UINT32>(-1), 0, &extract);
    for (UINT32 i = 0; i < count; ++i) {
      (*items)[i].data = extract.Data()[i];
      if (extract.Results()[i] != kResultOk)
        result = testing::AssertionFailure() << (*items)[i].path << ": result " << extract.Results()[i];
    }
    if (hr != S_OK) result = testing::AssertionFailure() << "Extract: " << std::hex << hr;
  }
  arc->Close();
  arc->Release();
  return result;
}

const std::vector<std::string> kEngineMethods = {"LZMA", "LZMA2", "BCJ",   "BCJ2",  "ARM",  "ARMT", "PPC",
                                                 "SPARC", "IA64", "Swap2", "Swap4", "Copy", "7zAES"};

// What the payload folder holds, by archive path with forward slashes.
std::map<std::string, std::string> ExpectedPayload() {
  const std::string dir = WinePathOf(SEVENZIP_PAYLOAD_DIR);
  std::map<std::string, std::string> files;
  for (const char* name : {"readme.txt", "sub/notes.txt", "sub/code.bin"}) {
    std::string windowsName = name;
    for (char& c : windowsName) c = c == '/' ? '\\' : c;
    files[name] = ReadFile(dir + "\\" + windowsName);
  }
  return files;
}

void ExpectPayload(const std::vector<TItem>& items) {
  std::map<std::string, std::string> files;
  std::set<std::string> dirs;
  for (TItem item : items) {
    for (char& c : item.path) c = c == '\\' ? '/' : c;
    if (item.dir) {
      dirs.insert(item.path);
    } else {
      EXPECT_EQ(item.size, item.data.size()) << item.path;
      files[item.path] = item.data;
    }
  }
  EXPECT_EQ(dirs, std::set<std::string>{"sub"});
  std::map<std::string, std::string> expected = ExpectedPayload();
  ASSERT_EQ(expected.size(), 3u);
  EXPECT_GT(expected["sub/code.bin"].size(), 100000u) << "payload library missing";
  EXPECT_EQ(files.size(), expected.size());
  for (const auto& [path, data] : expected) {
    auto found = files.find(path);
    ASSERT_NE(found, files.end()) << path;
    EXPECT_TRUE(found->second == data) << path << " differs after extraction";
  }
}

struct TCodecLibrary {
  const char* file;
  std::set<std::string> methods;
};
const std::vector<TCodecLibrary> kCodecLibraries = {
    {"Codecs/LZMA.dll", {"LZMA", "LZMA2"}},
    {"Codecs/Branch.dll", {"BCJ", "BCJ2", "PPC", "IA64", "ARM", "ARMT", "SPARC", "ARM64", "RISCV"}},
    {"Codecs/Swap.dll", {"Swap2", "Swap4"}},
    {"Codecs/Copy.dll", {"Copy"}},
    {"Codecs/7zAes.dll", {"7zAES"}},
    {"Codecs/Aes.dll", {"AES256CBC"}},
};

const std::vector<std::pair<const char*, const wchar_t*>> kFixtures = {
    {"sevenzip_filters.7z", L""}, {"sevenzip_bcj2_aes.7z", L"SECRET"}, {"sevenzip_copy.7z", L""}};

TEST(SevenZipLibraries, StandaloneLibraryHasThe7zFormatAndEveryEngineMethod) {
  TLibrary lib("7zxa.dll");
  ASSERT_TRUE(lib.Loaded()) << lib.Path() << ": " << GetLastError();
  std::vector<TFormat> formats = FormatsOf(lib);
  ASSERT_EQ(formats.size(), 1u);
  EXPECT_EQ(formats[0].name, "7z");

  std::vector<TMethod> methods = MethodsOf(lib);
  EXPECT_THAT(NamesOf(methods), testing::IsSupersetOf(kEngineMethods));
  for (const TMethod& m : methods) EXPECT_TRUE(m.decoder) << m.name;
  // Ids as the 7z format writes them: a wrong registration would not decode.
  std::map<std::string, UINT64> ids;
  for (const TMethod& m : methods) ids[m.name] = m.id;
  EXPECT_EQ(ids["LZMA"], 0x030101u);
  EXPECT_EQ(ids["LZMA2"], 0x21u);
  EXPECT_EQ(ids["BCJ2"], 0x0303011Bu);
  EXPECT_EQ(ids["7zAES"], 0x06F10701u);
  EXPECT_EQ(ids["Copy"], 0u);
}

TEST(SevenZipLibraries, EachCodecLibraryOffersExactlyItsDecoders) {
  for (const TCodecLibrary& expected : kCodecLibraries) {
    TLibrary lib(expected.file);
    ASSERT_TRUE(lib.Loaded()) << lib.Path() << ": " << GetLastError();
    EXPECT_NE(lib.Get<FnCreateObject>("CreateObject"), nullptr) << expected.file;
    EXPECT_NE(lib.Get<FnCreateCoder>("CreateDecoder"), nullptr) << expected.file;
    std::vector<TMethod> methods = MethodsOf(lib);
    EXPECT_EQ(NamesOf(methods), expected.methods) << expected.file;
    for (const TMethod& m : methods) EXPECT_TRUE(m.decoder) << expected.file << " " << m.name;
  }
}

TEST(SevenZipLibraries, FormatLibraryHasOnlyThe7zFormat) {
  TLibrary lib("Formats/7z.dll");
  ASSERT_TRUE(lib.Loaded()) << lib.Path() << ": " << GetLastError();
  std::vector<TFormat> formats = FormatsOf(lib);
  ASSERT_EQ(formats.size(), 1u);
  EXPECT_EQ(formats[0].name, "7z");
  EXPECT_NE(lib.Get<FnCreateObject>("SetCodecs"), nullptr);
}

TEST(SevenZipArchives, StandaloneLibraryExtractsEveryFixture) {
  TLibrary lib("7zxa.dll");
  ASSERT_TRUE(lib.Loaded());
  for (const auto& [archive, password] : kFixtures) {
    SCOPED_TRACE(archive);
    std::vector<TItem> items;
    ASSERT_TRUE(OpenAndExtract(lib, FixturePath(archive), password, nullptr, &items));
    ExpectPayload(items);
  }
}

TEST(SevenZipArchives, WrongPasswordDoesNotOpenAnArchiveWithEncryptedHeaders) {
  TLibrary lib("7zxa.dll");
  ASSERT_TRUE(lib.Loaded());
  std::vector<TItem> items;
  EXPECT_FALSE(OpenAndExtract(lib, FixturePath("sevenzip_bcj2_aes.7z"), L"secret", nullptr, &items));
}

TEST(SevenZipArchives, FormatLibraryDecodesWithTheCodecLibraries) {
  TLibrary format("Formats/7z.dll");
  ASSERT_TRUE(format.Loaded());
  std::vector<TItem> items;
  // Headers are LZMA-compressed: without codecs the format library cannot open.
  EXPECT_FALSE(OpenAndExtract(format, FixturePath("sevenzip_filters.7z"), L"", nullptr, &items));

  std::vector<std::unique_ptr<TLibrary>> codecLibs;
  TCodecSet codecs;
  for (const TCodecLibrary& c : kCodecLibraries) {
    codecLibs.push_back(std::make_unique<TLibrary>(c.file));
    ASSERT_TRUE(codecLibs.back()->Loaded()) << c.file;
    codecs.Add(*codecLibs.back());
  }
  ASSERT_EQ(codecs.Size(), 16u);
  for (const auto& [archive, password] : kFixtures) {
    SCOPED_TRACE(archive);
    items.clear();
    ASSERT_TRUE(OpenAndExtract(format, FixturePath(archive), password, &codecs, &items));
    ExpectPayload(items);
  }
}

}  // namespace
