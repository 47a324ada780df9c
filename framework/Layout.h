// Window layouts as data: a form's properties and its controls, each a class name, a name and its
// properties in the order they are applied, the way a form file lists them. Events are properties
// too ("OnClick" = "NextClick"), bound to the methods the form publishes under those names.
#pragma once

#include <functional>
#include <string_view>
#include <vector>

class TComponent;
class TControl;

struct PropertyValue {
    std::string_view name;
    std::string_view value;
};

struct ControlLayout {
    std::string_view className;
    std::string_view name;
    std::vector<PropertyValue> properties;
};

struct FormLayout {
    std::string_view name;
    std::vector<PropertyValue> properties;
    std::vector<ControlLayout> controls;  // in the order of creation
};

// The control classes a layout can name. The framework's own are known from the start; a control
// built on the framework adds its class before a layout that names it is loaded.
using ControlFactory = std::function<TControl*(TComponent* owner)>;
void RegisterControlClass(std::string_view className, ControlFactory factory);

// A registration that runs once, as the program starts: `const AtStartUp kRegistered([] { ... });`.
struct AtStartUp {
    explicit AtStartUp(void (*registration)()) { registration(); }
};
TControl* CreateControlOfClass(std::string_view className, TComponent* owner);
