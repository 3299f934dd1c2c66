// The "VBScript.RegExp" class on PCRE2's 16-bit library. The subject is
// searched unit by unit (no UTF mode), so positions count UTF-16 units.
#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <memory>
#include <optional>

#include "platform/automation.h"

namespace platform {
namespace {

using Kind = Variant::Kind;

std::optional<bool> AsBoolean(const Variant& v) {
  if (v.kind == Kind::kBoolean) return v.boolean;
  if (v.kind == Kind::kInteger) return v.integer != 0;
  return std::nullopt;
}

std::optional<int> AsInteger(const Variant& v) {
  if (v.kind == Kind::kInteger) return v.integer;
  if (v.kind == Kind::kBoolean) return v.boolean ? -1 : 0;
  return std::nullopt;
}

struct Match {
  size_t start = 0;
  size_t end = 0;
  std::vector<std::optional<std::pair<size_t, size_t>>> groups;
};

// An object whose members are read-only properties.
class ReadOnlyObject : public AutomationObject {
 public:
  bool PutProperty(std::string_view, const Variant&) override { return false; }
  bool CallMethod(std::string_view, const std::vector<Variant>&, Variant*) override {
    return false;
  }
};

// A collection with "Count" and "Item"(i), numbered from 0: the match
// collection and the sub-matches of a match.
class CollectionObject : public ReadOnlyObject {
 public:
  explicit CollectionObject(std::vector<Variant> items) : items_(std::move(items)) {}
  bool GetProperty(std::string_view name, const std::vector<Variant>& args,
                   Variant* result) override {
    if (name == "Count" && args.empty()) {
      *result = Variant::Integer(static_cast<int>(items_.size()));
      return true;
    }
    if (name == "Item" && args.size() == 1) {
      const std::optional<int> i = AsInteger(args[0]);
      if (!i || *i < 0 || *i >= static_cast<int>(items_.size())) return false;
      *result = items_[*i];
      return true;
    }
    return false;
  }

 private:
  std::vector<Variant> items_;
};

class MatchObject : public ReadOnlyObject {
 public:
  MatchObject(std::shared_ptr<const std::u16string> subject, Match match)
      : subject_(std::move(subject)), match_(std::move(match)) {}
  bool GetProperty(std::string_view name, const std::vector<Variant>& args,
                   Variant* result) override {
    if (!args.empty()) return false;
    if (name == "Value") {
      *result = Variant::String(subject_->substr(match_.start, match_.end - match_.start));
    } else if (name == "FirstIndex") {
      *result = Variant::Integer(static_cast<int>(match_.start));
    } else if (name == "Length") {
      *result = Variant::Integer(static_cast<int>(match_.end - match_.start));
    } else if (name == "SubMatches") {
      std::vector<Variant> texts;
      for (const auto& g : match_.groups) {
        // A group that took no part in the match gives the empty text.
        texts.push_back(Variant::String(g ? subject_->substr(g->first, g->second - g->first)
                                          : std::u16string()));
      }
      *result = Variant::Object(std::make_shared<CollectionObject>(std::move(texts)));
    } else {
      return false;
    }
    return true;
  }

 private:
  std::shared_ptr<const std::u16string> subject_;
  Match match_;
};

class RegExpObject : public AutomationObject {
 public:
  ~RegExpObject() override { Release(); }

  bool GetProperty(std::string_view name, const std::vector<Variant>& args,
                   Variant* result) override {
    if (!args.empty()) return false;
    if (name == "IgnoreCase") {
      *result = Variant::Boolean(ignoreCase_);
    } else if (name == "Multiline") {
      *result = Variant::Boolean(multiline_);
    } else if (name == "Global") {
      *result = Variant::Boolean(global_);
    } else if (name == "Pattern") {
      *result = Variant::String(pattern_);
    } else {
      return false;
    }
    return true;
  }

  bool PutProperty(std::string_view name, const Variant& value) override {
    if (name == "Pattern") {
      if (value.kind != Kind::kString && value.kind != Kind::kEmpty) return false;
      pattern_ = value.string;
      Release();
      return true;
    }
    const std::optional<bool> b = AsBoolean(value);
    if (!b) return false;
    if (name == "IgnoreCase") {
      ignoreCase_ = *b;
    } else if (name == "Multiline") {
      multiline_ = *b;
    } else if (name == "Global") {
      global_ = *b;
      return true;
    } else {
      return false;  // there is no "Singleline" or any other member
    }
    Release();
    return true;
  }

  bool CallMethod(std::string_view name, const std::vector<Variant>& args,
                  Variant* result) override {
    if (name == "Execute" && args.size() == 1 && args[0].kind == Kind::kString) {
      auto subject = std::make_shared<const std::u16string>(args[0].string);
      std::vector<Match> matches;
      if (!FindAll(*subject, &matches)) return false;
      std::vector<Variant> items;
      items.reserve(matches.size());
      for (Match& m : matches) {
        items.push_back(Variant::Object(std::make_shared<MatchObject>(subject, std::move(m))));
      }
      *result = Variant::Object(std::make_shared<CollectionObject>(std::move(items)));
      return true;
    }
    if (name == "Replace" && args.size() == 2 && args[0].kind == Kind::kString &&
        (args[1].kind == Kind::kString || args[1].kind == Kind::kEmpty)) {
      std::u16string out;
      if (!Replace(args[0].string, args[1].string, &out)) return false;
      *result = Variant::String(std::move(out));
      return true;
    }
    if (name == "Test" && args.size() == 1 && args[0].kind == Kind::kString) {
      std::vector<Match> matches;
      if (!FindAll(args[0].string, &matches, 1)) return false;
      *result = Variant::Boolean(!matches.empty());
      return true;
    }
    return false;
  }

 private:
  void Release() {
    if (code_) pcre2_code_free(code_);
    code_ = nullptr;
  }

  bool Compile() {
    if (code_) return true;
    pcre2_compile_context* context = pcre2_compile_context_create(nullptr);
    if (!context) return false;
    pcre2_set_newline(context, PCRE2_NEWLINE_LF);
    uint32_t options = 0;
    if (ignoreCase_) options |= PCRE2_CASELESS;
    if (multiline_) options |= PCRE2_MULTILINE;
    int error = 0;
    PCRE2_SIZE offset = 0;
    code_ = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern_.data()), pattern_.size(), options,
                          &error, &offset, context);
    pcre2_compile_context_free(context);
    if (!code_) return false;
    pcre2_jit_compile(code_, PCRE2_JIT_COMPLETE);  // falls back to the interpreter
    return true;
  }

  // Every match from left to right without overlap (only the first unless
  // Global); an empty match moves the search on by one unit.
  bool FindAll(const std::u16string& subject, std::vector<Match>* matches,
               size_t limit = SIZE_MAX) {
    if (!Compile()) return false;
    pcre2_match_data* data = pcre2_match_data_create_from_pattern(code_, nullptr);
    if (!data) return false;
    const size_t most = global_ ? limit : 1;
    size_t start = 0;
    bool ok = true;
    while (matches->size() < most && start <= subject.size()) {
      const int rc = pcre2_match(code_, reinterpret_cast<PCRE2_SPTR>(subject.data()),
                                 subject.size(), start, 0, data, nullptr);
      if (rc == PCRE2_ERROR_NOMATCH) break;
      if (rc < 0) {
        ok = false;  // the engine raised an error (a match limit, say)
        break;
      }
      const PCRE2_SIZE* ov = pcre2_get_ovector_pointer(data);
      uint32_t groups = 0;
      pcre2_pattern_info(code_, PCRE2_INFO_CAPTURECOUNT, &groups);
      Match m{ov[0], ov[1], {}};
      for (uint32_t g = 1; g <= groups; ++g) {
        if (static_cast<int>(g) < rc && ov[2 * g] != PCRE2_UNSET) {
          m.groups.emplace_back(std::make_pair(ov[2 * g], ov[2 * g + 1]));
        } else {
          m.groups.emplace_back(std::nullopt);
        }
      }
      start = m.end > m.start ? m.end : m.end + 1;
      matches->push_back(std::move(m));
    }
    pcre2_match_data_free(data);
    return ok;
  }

  bool Replace(const std::u16string& subject, const std::u16string& replacement,
               std::u16string* out) {
    std::vector<Match> matches;
    if (!FindAll(subject, &matches)) return false;
    size_t at = 0;
    for (const Match& m : matches) {
      out->append(subject, at, m.start - at);
      Expand(subject, m, replacement, out);
      at = m.end;
    }
    out->append(subject, at, std::u16string::npos);
    return true;
  }

  // $1..$99 (two digits when that group exists), $& the match, $` the text in
  // front of it, $' the text after it, $$ a dollar sign; any other '$' is literal.
  static void Expand(const std::u16string& subject, const Match& m, const std::u16string& r,
                     std::u16string* out) {
    auto group = [&](size_t g) {
      const auto& span = m.groups[g - 1];
      if (span) out->append(subject, span->first, span->second - span->first);
    };
    for (size_t i = 0; i < r.size(); ++i) {
      const char16_t c = r[i];
      if (c != u'$' || i + 1 >= r.size()) {
        out->push_back(c);
        continue;
      }
      const char16_t n = r[i + 1];
      if (n == u'$') {
        out->push_back(u'$');
        ++i;
      } else if (n == u'&') {
        out->append(subject, m.start, m.end - m.start);
        ++i;
      } else if (n == u'`') {
        out->append(subject, 0, m.start);
        ++i;
      } else if (n == u'\'') {
        out->append(subject, m.end, std::u16string::npos);
        ++i;
      } else if (n >= u'0' && n <= u'9') {
        size_t g = n - u'0';
        size_t used = 1;
        if (i + 2 < r.size() && r[i + 2] >= u'0' && r[i + 2] <= u'9') {
          const size_t two = g * 10 + (r[i + 2] - u'0');
          if (two >= 1 && two <= m.groups.size()) {
            g = two;
            used = 2;
          }
        }
        if (g >= 1 && g <= m.groups.size()) {
          group(g);
          i += used;
        } else {
          out->push_back(c);
        }
      } else {
        out->push_back(c);
      }
    }
  }

  bool ignoreCase_ = false;
  bool multiline_ = false;
  bool global_ = false;
  std::u16string pattern_;
  pcre2_code* code_ = nullptr;
};

}  // namespace

std::shared_ptr<AutomationObject> CreateRegExpObject() { return std::make_shared<RegExpObject>(); }

}  // namespace platform
