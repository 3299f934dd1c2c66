// A regular expression run over one text, handing out its matches by number.
// An object belongs to the thread that created it: it initialises the
// automation layer there on creation and uninitialises it when it ends.
#pragma once

#include <memory>
#include <optional>

#include "text/text.h"

namespace platform {
class AutomationObject;
struct Variant;
}  // namespace platform

class RegexObject {
 public:
  RegexObject();
  // A copy shares the engine and the matches and holds its own subject; it
  // initialises the layer once more, and its end balances that.
  RegexObject(const RegexObject& other);
  RegexObject& operator=(const RegexObject&) = delete;
  ~RegexObject();

  // Runs pattern over text. Omitted options: case ignored, multi-line and
  // global on, quote escape ("#引号" for '"') off. False when the engine could
  // not be made or rejected the pattern.
  bool Search(const Text& pattern, const Text& text, std::optional<bool> caseSensitive = {},
              std::optional<bool> multiLine = {}, std::optional<bool> global = {},
              std::optional<bool> quoteEscape = {});
  void NoOperation();
  Text CurrentPattern();
  // The subject with the matches replaced ($1, $&, ... understood).
  Text ReplaceMatches(const Text& replacement = Text());
  int MatchCount();
  // Match n (from 1); when position is given it receives the match's 0-based
  // byte offset in the subject.
  Text MatchText(int n, int* position = nullptr);
  Text SubMatchText(int n, int m, int* position = nullptr);
  int SubMatchCount();
  // Releases the engine and matches and uninitialises the layer; later calls
  // find an empty object.
  void End();

 private:
  Text SubjectText() const;
  int PositionOf(const Text& found, int n);

  std::shared_ptr<platform::AutomationObject> engine_;
  std::shared_ptr<platform::AutomationObject> matches_;
  std::unique_ptr<platform::Variant> subject_;
  bool ended_ = false;
};
