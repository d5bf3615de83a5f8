#include "script/substitution.h"

#include <optional>
#include <utility>
#include <vector>

#include "script/text_rules.h"

namespace corvane {
namespace {

bool IsTokenAt(std::string_view text, std::size_t dollar, std::string_view name) {
  const std::size_t closing = dollar + 1 + name.size();
  return closing < text.size() && text[closing] == '$' && EqualIgnoringCase(text.substr(dollar + 1, name.size()), name);
}

// Whether replacing count tokens by a value makes the text longer than both
// maxLength and itself.
bool GrowsBeyond(std::size_t length, std::size_t count, std::size_t tokenSize, std::size_t valueSize,
                 std::size_t maxLength) {
  const std::size_t kept = length - count * tokenSize;
  return valueSize > tokenSize && (kept > maxLength || count > (maxLength - kept) / valueSize);
}

// One step of a pass: every "$name$" replaced. False, leaving the text alone,
// when the result would pass the length bound.
bool ReplaceToken(std::string& text, std::string_view name, std::string_view value, std::size_t maxLength) {
  std::vector<std::size_t> starts;
  std::size_t dollar = text.find('$');
  while (dollar != std::string::npos) {
    if (IsTokenAt(text, dollar, name)) {
      starts.push_back(dollar);
      dollar = text.find('$', dollar + name.size() + 2);
    } else {
      dollar = text.find('$', dollar + 1);
    }
  }
  if (starts.empty()) {
    return true;
  }
  const std::size_t tokenSize = name.size() + 2;
  if (GrowsBeyond(text.size(), starts.size(), tokenSize, value.size(), maxLength)) {
    return false;
  }
  std::string result;
  result.reserve(text.size() - starts.size() * tokenSize + starts.size() * value.size());
  std::size_t copied = 0;
  for (std::size_t start : starts) {
    result.append(text, copied, start - copied);
    result += value;
    copied = start + tokenSize;
  }
  result.append(text, copied);
  text = std::move(result);
  return true;
}

bool ReplaceEachVariable(std::string& text, std::span<const TVariable> variables, std::size_t maxLength) {
  for (const TVariable& variable : variables) {
    if (!ReplaceToken(text, variable.name, variable.value, maxLength)) {
      return false;
    }
  }
  return true;
}

// A text held as the pieces between its "$" signs: piece 0 $ piece 1 $ ...
// $ piece m. With token-safe names a token is exactly an inner piece that
// names a variable, so each piece is looked up once, and again only when a
// replacement changes it.
class TTokenPieces {
public:
  TTokenPieces(std::string_view text, const TNameIndex& index) : index_(index), length_(text.size()) {
    std::size_t start = 0;
    for (std::size_t dollar = text.find('$'); dollar != std::string_view::npos; dollar = text.find('$', start)) {
      pieces_.push_back({std::string(text.substr(start, dollar - start))});
      start = dollar + 1;
    }
    pieces_.push_back({std::string(text.substr(start))});
    LookUpChangedPieces();
  }

  // The earliest store position after `done` that has a token in the text.
  std::optional<std::size_t> FirstVariableAfter(std::optional<std::size_t> done) const {
    std::optional<std::size_t> first;
    for (const TPiece& piece : pieces_) {
      if (piece.variable && (!done || *piece.variable > *done) && (!first || *piece.variable < *first)) {
        first = piece.variable;
      }
    }
    return first;
  }

  // Every token of the variable, left to right and without overlaps: the
  // "$" that closes one token cannot open the next. False, changing nothing,
  // when the text would grow beyond maxLength.
  bool Replace(std::size_t variable, std::string_view value, std::size_t maxLength) {
    std::size_t count = 0;
    std::size_t nameSize = 0;
    for (std::size_t i = 1; i + 1 < pieces_.size(); ++i) {
      if (pieces_[i].variable == variable) {
        ++count;
        nameSize = pieces_[i].text.size();
        ++i;
      }
    }
    const std::size_t tokenSize = nameSize + 2;
    if (GrowsBeyond(length_, count, tokenSize, value.size(), maxLength)) {
      return false;
    }
    length_ = length_ - count * tokenSize + count * value.size();

    const std::size_t last = pieces_.size() - 1;
    std::vector<TPiece> result;
    result.reserve(pieces_.size());
    result.push_back(std::move(pieces_[0]));
    for (std::size_t i = 1; i <= last; ++i) {
      if (i < last && pieces_[i].variable == variable) {
        AppendValue(result, value);
        result.back().text += pieces_[++i].text;
      } else {
        result.push_back(std::move(pieces_[i]));
      }
    }
    pieces_ = std::move(result);
    LookUpChangedPieces();
    return true;
  }

  std::string Join() const {
    std::string text;
    text.reserve(length_);
    for (std::size_t i = 0; i < pieces_.size(); ++i) {
      if (i > 0) {
        text += '$';
      }
      text += pieces_[i].text;
    }
    return text;
  }

private:
  struct TPiece {
    std::string text;
    bool changed = true;
    std::optional<std::size_t> variable = std::nullopt;  // inner pieces only
  };

  void LookUpChangedPieces() {
    for (std::size_t i = 0; i < pieces_.size(); ++i) {
      TPiece& piece = pieces_[i];
      if (piece.changed) {
        const bool inner = i > 0 && i + 1 < pieces_.size();
        piece.variable = inner && !piece.text.empty() ? index_.Find(piece.text) : std::nullopt;
        piece.changed = false;
      }
    }
  }

  // The value's first part joins the piece before the token, each of its "$"
  // signs starts a new piece, and the piece after the token joins the last.
  static void AppendValue(std::vector<TPiece>& result, std::string_view value) {
    std::size_t dollar = value.find('$');
    result.back().text += value.substr(0, dollar);
    result.back().changed = true;
    while (dollar != std::string_view::npos) {
      const std::size_t start = dollar + 1;
      dollar = value.find('$', start);
      result.push_back({std::string(value.substr(start, dollar == std::string_view::npos ? dollar : dollar - start))});
    }
  }

  const TNameIndex& index_;
  std::vector<TPiece> pieces_;
  std::size_t length_;
};

// The same pass as ReplaceEachVariable, visiting only the variables whose
// step would change the text: a step of a variable without a token in the
// current text does nothing, and after each step the next variable in store
// order with a token in the text as it now stands is found again, so tokens
// formed by inserted values, or by text closing up around them, are met in
// the same step the defining rule meets them.
bool ReplaceVariablesWithTokens(std::string& text, std::span<const TVariable> variables, const TNameIndex& index,
                                std::size_t maxLength) {
  TTokenPieces pieces(text, index);
  bool complete = true;
  std::optional<std::size_t> done;
  while (const std::optional<std::size_t> next = pieces.FirstVariableAfter(done)) {
    if (!pieces.Replace(*next, variables[*next].value, maxLength)) {
      complete = false;
      break;
    }
    done = next;
  }
  text = pieces.Join();
  return complete;
}

}  // namespace

std::string Substitute(std::string_view text, std::span<const TVariable> variables, const TNameIndex& index,
                       TSubstitutionBounds bounds) {
  std::string current(text);
  for (int pass = 0; pass < bounds.passes && current.find('$') != std::string::npos; ++pass) {
    const std::string start = current;
    current = NewlineDecode(current);
    const bool complete = index.NamesAreTokenSafe()
                              ? ReplaceVariablesWithTokens(current, variables, index, bounds.length)
                              : ReplaceEachVariable(current, variables, bounds.length);
    if (!complete || current == start) {
      break;
    }
  }
  return current;
}

}  // namespace corvane
