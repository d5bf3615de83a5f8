// The run's feature model: the components a user may choose, their states,
// descriptions and sizes. A "\" in a name separates the levels of the
// feature tree. Main thread only.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// Stands for the product's files outside any feature: counted in the space
// texts, never shown.
inline constexpr std::string_view kPredefinedComponent = "ZOLT-PREDEF-COMPONENT";

struct TComponent {
  std::string name;
  // "TRUE"/"FALSE"; empty while a name loaded from a selections file had no
  // state, which reads as not selected until the component is defined.
  std::string state;
  std::string description;  // may hold "$NEWLINE$"
};

class TFeatureModel {
public:
  // sizeList: the container's component size list, alternating name and
  // size lines. A size that is no 64-bit integer, or a name without a size
  // line, reads as 0.
  explicit TFeatureModel(std::span<const std::string> sizeList = {});

  // A redefinition replaces the description but keeps a state the
  // component already has, e.g. one loaded from a selections file.
  void Define(std::string_view name, std::string_view description, bool selected);

  // Names are looked up without regard to case; the first match counts.
  // The setters return false, and change nothing, for an unknown name.
  bool SetSelected(std::string_view name, bool selected);
  bool SetSize(std::string_view name, std::int64_t size);
  bool IsSelected(std::string_view name) const;       // false when unknown
  std::int64_t Size(std::string_view name) const;     // 0 when unknown or unsized
  std::string Description(std::string_view name) const;

  // Empties the component table; the size list stays.
  void Clear();
  // A first-time run: only the predefined component, selected; nothing installed.
  void ResetForFirstInstall();

  // An installed instance's saved selections, taken as they are into the
  // (cleared) table; states beyond the names are dropped.
  void Append(std::span<const std::string> names, std::span<const std::string> states);
  // Saved selections laid over the defined components: every component
  // named like a loaded name takes that name's state. Unknown names, and
  // names beyond the states, are ignored.
  void MergeStates(std::span<const std::string> names, std::span<const std::string> states);

  const std::vector<TComponent>& Components() const { return components_; }

  // Sums saturate instead of overflowing: sizes come from the script.
  std::int64_t SelectedSize() const;
  std::int64_t InstalledSize() const { return installedSize_; }
  // What the installed instance's selection occupied; 0 on a first install.
  void SetInstalledSize(std::int64_t size) { installedSize_ = size; }
  std::int64_t SpaceRequired() const;  // selected size minus installed size

private:
  struct TSizeEntry {
    std::string name;
    std::int64_t size = 0;
  };

  TComponent* Find(std::string_view name);
  const TComponent* Find(std::string_view name) const;
  TSizeEntry* FindSize(std::string_view name);
  const TSizeEntry* FindSize(std::string_view name) const;

  std::vector<TComponent> components_;
  // Looked up by name entries only: a size that happens to equal a
  // component's name is never taken for it.
  std::vector<TSizeEntry> sizes_;
  std::int64_t installedSize_ = 0;
};

}  // namespace corvane
