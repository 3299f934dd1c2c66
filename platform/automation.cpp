#include "platform/automation.h"

namespace platform {

std::shared_ptr<AutomationObject> CreateRegExpObject();  // regexp_pcre2.cpp

namespace {
thread_local int t_initCount = 0;
}  // namespace

Variant Variant::Integer(int v) {
  Variant r;
  r.kind = Kind::kInteger;
  r.integer = v;
  return r;
}

Variant Variant::Boolean(bool v) {
  Variant r;
  r.kind = Kind::kBoolean;
  r.boolean = v;
  return r;
}

Variant Variant::String(std::u16string v) {
  Variant r;
  r.kind = Kind::kString;
  r.string = std::move(v);
  return r;
}

Variant Variant::Object(std::shared_ptr<AutomationObject> v) {
  Variant r;
  if (v) {
    r.kind = Kind::kObject;
    r.object = std::move(v);
  }
  return r;
}

int CoInitialize(void* /*reserved*/) { return t_initCount++ == 0 ? 0 : 1; }

void CoUninitialize() {
  if (t_initCount > 0) --t_initCount;
}

int CoInitializeCount() { return t_initCount; }

std::shared_ptr<AutomationObject> CreateObject(std::u16string_view progId) {
  if (t_initCount == 0) return nullptr;
  if (progId == u"VBScript.RegExp") return CreateRegExpObject();
  return nullptr;
}

}  // namespace platform
