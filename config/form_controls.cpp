#include "config/form_controls.h"

#include <cstring>

namespace {
struct ControlEntry
{
    const char *name;
    ControlKind kind;
};

const ControlEntry controls[] = {
#define VELORIX_CONTROL_ENTRY(name, kind) {#name, ControlKind::kind},
    VELORIX_FORM_CONTROLS(VELORIX_CONTROL_ENTRY)
#undef VELORIX_CONTROL_ENTRY
};
static_assert(sizeof controls / sizeof controls[0] == FORM_CONTROL_COUNT);
} // namespace

const char *controlName(Control control)
{
    return controls[static_cast<size_t>(control)].name;
}

ControlKind controlKind(Control control)
{
    return controls[static_cast<size_t>(control)].kind;
}

bool controlNamed(const char *objectName, Control *control)
{
    for (size_t i = 0; i < FORM_CONTROL_COUNT; ++i)
        if (strcmp(controls[i].name, objectName) == 0) {
            *control = static_cast<Control>(i);
            return true;
        }
    return false;
}
