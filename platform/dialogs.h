// Modal dialogs built from templates in the resources (docs/resource-formats.md), with a
// handler that receives kInitDialog (extra: the parameter), kCommand and kDrawItem.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/surface.h"
#include "platform/window.h"

namespace vaelo::platform {

// What a handler gets with kDrawItem for a button it draws itself.
struct DrawItem {
    WindowId control = kNoWindow;
    int controlId = 0;
    Surface* surface = nullptr;  // the control's, for this drawing only
    Rect rect;                   // the control's own area, from (0, 0)
};

struct FontDescription {
    std::u16string face;
    int height = 0;  // pixels; negative: a character height
    int weight = 0;
    bool underline = false;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Runs the dialog of a template until its handler ends it; returns the end code, or -1
    // when the template is missing or damaged.
    virtual int RunModal(std::uint16_t templateId, WindowId owner, WindowProc handler,
                         std::intptr_t parameter) = 0;
    virtual void End(WindowId dialog, int code) = 0;
    virtual WindowId Item(WindowId dialog, int controlId) = 0;
    virtual std::u16string ItemText(WindowId control, int maxUnits) = 0;
    virtual void SetItemText(WindowId control, const std::u16string& text) = 0;
    virtual Rect ItemRect(WindowId control) = 0;  // in the dialog's client pixels
    // Resizes a control in place, keeping its position and its place among its siblings.
    virtual void ResizeItem(WindowId control, int width, int height) = 0;
    // The surface to measure a control's text on; valid while the dialog runs.
    virtual Surface* ItemSurface(WindowId control) = 0;
    virtual std::optional<FontDescription> ItemFont(WindowId control) = 0;
    // Gives a control a font made on its surface, redrawing it.
    virtual void SetItemFont(WindowId control, ObjectHandle font) = 0;
};

// Opens documents and addresses.
class Shell {
public:
    virtual ~Shell() = default;
    // The verb "Open" on an address; errors are not shown. True when the request was handed on.
    virtual bool OpenAddress(WindowId owner, const std::u16string& address) = 0;
};

// One running reader per user. The first start listens; a later start finds it, tells it,
// and ends.
class SingleInstance {
public:
    virtual ~SingleInstance() = default;
    // True when this is the first instance (it now answers later starts by calling
    // onSecondStart); false when another runs and has been told of this start.
    virtual bool Claim(const std::string& name, void (*onSecondStart)()) = 0;
};

}  // namespace vaelo::platform
