#include "pattern/regex_object.h"

#include <string>

#include "platform/automation.h"
#include "text/percent.h"
#include "text/primitives.h"
#include "text/text_between.h"

using platform::AutomationObject;
using platform::Variant;

namespace {

// Texts cross the automation boundary in code page 936.
std::u16string Wide(const Text& text) {
  const Bytes units = TextToWide(text, 936);
  std::u16string out(units.size() / 2 - 1, u'\0');
  for (size_t i = 0; i < out.size(); ++i) {
    out[i] = static_cast<char16_t>(static_cast<unsigned char>(units.data()[2 * i]) |
                                   (static_cast<unsigned char>(units.data()[2 * i + 1]) << 8));
  }
  return out;
}

Text Narrow(const std::u16string& wide) {
  std::string bytes;
  bytes.reserve(2 * wide.size() + 2);
  for (char16_t u : wide) {
    bytes.push_back(static_cast<char>(u & 0xFF));
    bytes.push_back(static_cast<char>(u >> 8));
  }
  bytes.append(2, '\0');
  return WideToText(Bytes(std::move(bytes)), 936);
}

Variant Get(const std::shared_ptr<AutomationObject>& object, const char* name,
            std::vector<Variant> args = {}) {
  Variant result;
  if (object && !object->GetProperty(name, args, &result)) result = Variant();
  return result;
}

std::shared_ptr<AutomationObject> GetObject(const std::shared_ptr<AutomationObject>& object,
                                            const char* name, std::vector<Variant> args = {}) {
  return Get(object, name, std::move(args)).object;
}

int GetInteger(const std::shared_ptr<AutomationObject>& object, const char* name) {
  const Variant v = Get(object, name);
  return v.kind == Variant::Kind::kInteger ? v.integer : 0;
}

Text GetText(const std::shared_ptr<AutomationObject>& object, const char* name,
             std::vector<Variant> args = {}) {
  const Variant v = Get(object, name, std::move(args));
  return v.kind == Variant::Kind::kString ? Narrow(v.string) : Text();
}

}  // namespace

RegexObject::RegexObject() : subject_(std::make_unique<Variant>(Variant::Integer(0))) {
  platform::CoInitialize(nullptr);
}

RegexObject::RegexObject(const RegexObject& other)
    : engine_(other.engine_),
      matches_(other.matches_),
      subject_(std::make_unique<Variant>(*other.subject_)) {
  platform::CoInitialize(nullptr);
}

RegexObject::~RegexObject() { End(); }

void RegexObject::End() {
  if (ended_) return;
  ended_ = true;
  engine_.reset();
  matches_.reset();
  *subject_ = Variant();
  platform::CoUninitialize();
}

bool RegexObject::Search(const Text& pattern, const Text& text, std::optional<bool> caseSensitive,
                         std::optional<bool> multiLine, std::optional<bool> global,
                         std::optional<bool> quoteEscape) {
  const bool ignoreCase = !caseSensitive.value_or(false);
  const bool multiline = multiLine.value_or(true);
  const bool everyMatch = global.value_or(true);
  engine_.reset();
  matches_.reset();
  engine_ = platform::CreateObject(u"VBScript.RegExp");
  if (engine_) {
    // The engine has no "Singleline": that write fails and changes nothing.
    engine_->PutProperty("IgnoreCase", Variant::Boolean(ignoreCase));
    engine_->PutProperty("Multiline", Variant::Boolean(multiline));
    engine_->PutProperty("Singleline", Variant::Boolean(true));
    engine_->PutProperty("Global", Variant::Boolean(everyMatch));
    const Text used = quoteEscape.value_or(false)
                          ? ReplaceText(pattern, kQuoteEscape, "\"", 1, {}, true)
                          : pattern;
    engine_->PutProperty("Pattern", Variant::String(Wide(used)));
  }
  *subject_ = Variant::String(Wide(text));
  Variant result;
  std::shared_ptr<AutomationObject> found;
  if (engine_ && engine_->CallMethod("Execute", {*subject_}, &result)) found = result.object;
  matches_ = std::move(found);
  return matches_ != nullptr;
}

void RegexObject::NoOperation() {}

Text RegexObject::CurrentPattern() { return engine_ ? GetText(engine_, "Pattern") : Text(); }

Text RegexObject::ReplaceMatches(const Text& replacement) {
  Variant result;
  if (!engine_ ||
      !engine_->CallMethod("Replace", {*subject_, Variant::String(Wide(replacement))}, &result)) {
    return Text();
  }
  return result.kind == Variant::Kind::kString ? Narrow(result.string) : Text();
}

int RegexObject::MatchCount() { return GetInteger(matches_, "Count"); }

Text RegexObject::SubjectText() const {
  return subject_->kind == Variant::Kind::kString ? Narrow(subject_->string) : Text();
}

// The 0-based byte offset of found, searched from the match's FirstIndex taken
// as a 1-based byte start: a character is one unit but one or two bytes, so the
// search never begins after the match. The start is moved back to the
// character it falls in; a search begun on a second byte would pair the bytes
// wrongly and could miss the match.
int RegexObject::PositionOf(const Text& found, int n) {
  const auto match = GetObject(matches_, "Item", {Variant::Integer(n - 1)});
  const int firstIndex = GetInteger(match, "FirstIndex");
  const Variant ignore = Get(engine_, "IgnoreCase");
  const bool ignoreCase = ignore.kind == Variant::Kind::kBoolean && ignore.boolean;
  const Text subject = SubjectText();
  int start = 1;
  for (int next = 1; next <= firstIndex + 1 && next <= TextLength(subject);) {
    start = next;
    next += CharCode(subject, next) < 0 ? 2 : 1;
  }
  return FindText(subject, found, start, ignoreCase) - 1;
}

Text RegexObject::MatchText(int n, int* position) {
  const auto match = GetObject(matches_, "Item", {Variant::Integer(n - 1)});
  const Text value = GetText(match, "Value");
  if (position) *position = PositionOf(value, n);
  return value;
}

Text RegexObject::SubMatchText(int n, int m, int* position) {
  const auto match = GetObject(matches_, "Item", {Variant::Integer(n - 1)});
  const auto subMatches = GetObject(match, "SubMatches");
  const Text value = GetText(subMatches, "Item", {Variant::Integer(m - 1)});
  if (position) *position = PositionOf(value, n);
  return value;
}

int RegexObject::SubMatchCount() {
  const auto match = GetObject(matches_, "Item", {Variant::Integer(0)});
  return GetInteger(GetObject(match, "SubMatches"), "Count");
}
