#include "script/comma_text.h"

#include <algorithm>
#include <utility>

namespace corvane {
namespace {

bool IsBlank(char c) {
  const auto code = static_cast<unsigned char>(c);
  return code >= 1 && code <= 32;
}

bool NeedsQuotes(std::string_view item) {
  return std::ranges::any_of(item, [](char c) { return static_cast<unsigned char>(c) <= 32 || c == '"' || c == ','; });
}

void AppendItem(std::string& out, std::string_view item) {
  if (!NeedsQuotes(item)) {
    out += item;
    return;
  }
  out += '"';
  for (char c : item) {
    if (c == '"') {
      out += '"';
    }
    out += c;
  }
  out += '"';
}

// From the opening quote at position; leaves position after the closing quote.
std::string ReadQuotedItem(std::string_view text, std::size_t& position) {
  std::string item;
  ++position;
  for (;;) {
    const std::size_t quote = text.find('"', position);
    if (quote == std::string_view::npos) {
      item += text.substr(position);
      position = text.size();
      return item;
    }
    item += text.substr(position, quote - position);
    if (quote + 1 < text.size() && text[quote + 1] == '"') {
      item += '"';
      position = quote + 2;
    } else {
      position = quote + 1;
      return item;
    }
  }
}

std::string ReadPlainItem(std::string_view text, std::size_t& position) {
  const std::size_t start = position;
  while (position < text.size() && !IsBlank(text[position]) && text[position] != ',') {
    ++position;
  }
  return std::string(text.substr(start, position - start));
}

void SkipBlanks(std::string_view text, std::size_t& position) {
  while (position < text.size() && IsBlank(text[position])) {
    ++position;
  }
}

}  // namespace

std::string ExportCommaText(std::span<const TVariable> variables) {
  std::string out;
  for (std::size_t i = 0; i < variables.size(); ++i) {
    if (i > 0) {
      out += ',';
    }
    AppendItem(out, variables[i].name);
    out += ',';
    AppendItem(out, variables[i].value);
  }
  return out;
}

std::vector<std::string> SplitCommaText(std::string_view text) {
  std::vector<std::string> items;
  std::size_t position = 0;
  SkipBlanks(text, position);
  while (position < text.size()) {
    items.push_back(text[position] == '"' ? ReadQuotedItem(text, position) : ReadPlainItem(text, position));
    SkipBlanks(text, position);
    if (position < text.size() && text[position] == ',') {
      ++position;
      if (position == text.size()) {
        items.emplace_back();
      }
      SkipBlanks(text, position);
    }
  }
  return items;
}

std::vector<TVariable> VariablesFromCommaText(std::string_view text) {
  std::vector<std::string> items = SplitCommaText(text);
  std::vector<TVariable> variables;
  variables.reserve((items.size() + 1) / 2);
  for (std::size_t i = 0; i < items.size(); i += 2) {
    variables.push_back({std::move(items[i]), i + 1 < items.size() ? std::move(items[i + 1]) : std::string()});
  }
  return variables;
}

}  // namespace corvane
