// A small late-bound object layer: objects created by programmatic identifier
// whose properties and methods are found by member name at run time, with
// variant values. One class is registered: "VBScript.RegExp". Objects belong to
// the thread that created them; the initialisation count is per thread.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class AutomationObject;

struct Variant {
  enum class Kind { kEmpty, kInteger, kBoolean, kString, kObject };
  Kind kind = Kind::kEmpty;
  int integer = 0;
  bool boolean = false;
  std::u16string string;
  std::shared_ptr<AutomationObject> object;

  static Variant Integer(int v);
  static Variant Boolean(bool v);
  static Variant String(std::u16string v);
  static Variant Object(std::shared_ptr<AutomationObject> v);
};

class AutomationObject {
 public:
  virtual ~AutomationObject() = default;
  // Each returns false, leaving *result empty, when the member is unknown,
  // the arguments do not fit or the object raises an error.
  virtual bool GetProperty(std::string_view name, const std::vector<Variant>& args,
                           Variant* result) = 0;
  virtual bool PutProperty(std::string_view name, const Variant& value) = 0;
  virtual bool CallMethod(std::string_view name, const std::vector<Variant>& args,
                          Variant* result) = 0;
};

// Initialises the layer for the calling thread (counted); reserved must be null.
// Returns 0 on the first call of a thread, 1 on later ones.
int CoInitialize(void* reserved);
void CoUninitialize();
// How often the calling thread is initialised now.
int CoInitializeCount();

// A new object of the class, or null when the class is unknown or the calling
// thread has not initialised the layer.
std::shared_ptr<AutomationObject> CreateObject(std::u16string_view progId);

}  // namespace platform
