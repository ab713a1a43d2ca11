#include "form_state.h"

#include <oleacc.h>

#include <string_view>
#include <vector>

#include "json_text.h"
#include "runtime/win32/win32_layout.h"
#include "win32_probe.h"
#include "window/form2_description.h"

namespace {

struct ProcessSearch {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectVisible(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<ProcessSearch*>(context);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == search->processId && IsWindowVisible(window)) search->found.push_back(window);
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND child, LPARAM context) {
    reinterpret_cast<std::vector<HWND>*>(context)->push_back(child);
    return TRUE;
}

// The visible top-level windows of the program: the form, its boxes, an
// open drop-down list or context menu.
std::vector<HWND> VisibleWindows(DWORD processId) {
    ProcessSearch search{processId, {}};
    EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> VisibleChildren(HWND window) {
    std::vector<HWND> children;
    EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&children));
    std::erase_if(children, [](HWND child) { return IsWindowVisible(child) == FALSE; });
    return children;
}

RECT ScreenRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

RECT ClientScreenRect(HWND window) {
    RECT rect{};
    GetClientRect(window, &rect);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

bool TakesInput(ControlKind kind) {
    return kind != ControlKind::Label && kind != ControlKind::Frame;
}

HWND ControlWindow(HWND form, const ControlDescription& control) {
    return GetDlgItem(form, ControlId(control));
}

// The name of the form's control that holds the window (a combo box's edit
// field belongs to the combo box); empty when it is none of them.
std::string_view ControlHolding(HWND form, HWND window) {
    for (const ControlDescription& control : Form2Description().controls) {
        HWND candidate = ControlWindow(form, control);
        if (candidate != nullptr && (candidate == window || IsChild(candidate, window) != FALSE))
            return control.name;
    }
    return {};
}

// A control's name, which is plain ASCII, as a JSON string.
std::string JsonName(std::string_view name) {
    std::string json(1, '"');
    json.append(name);
    json.push_back('"');
    return json;
}

bool IsClass(HWND window, std::wstring_view name) { return WindowClass(window) == name; }

bool IsBox(HWND window, HWND form) {
    return window != form && !IsClass(window, L"#32768") && !IsClass(window, L"ComboLBox") &&
           !IsClass(window, L"tooltips_class32");
}

std::string FocusJson(const FormWindows& windows) {
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    if (GetGUIThreadInfo(windows.threadId, &thread) == FALSE) return "null";
    if ((thread.flags & GUI_POPUPMENUMODE) != 0) return "\"menu\"";
    if (thread.hwndFocus == nullptr) return "null";
    const std::string_view control = ControlHolding(windows.form, thread.hwndFocus);
    if (!control.empty()) return JsonName(control);
    if (IsBox(GetAncestor(thread.hwndFocus, GA_ROOT), windows.form)) return "\"box\"";
    return JsonString(L"other: " + WindowClass(thread.hwndFocus));
}

// An icon of a system box is a static control without text; a text is in a
// static control (system box) or a read-only edit field (a long prompt).
std::string BoxJson(HWND box) {
    std::wstring text;
    std::string buttons;
    for (HWND child : VisibleChildren(box)) {
        const std::wstring kind = WindowClass(child);
        if (kind == L"Button") {
            buttons += std::string(buttons.empty() ? "" : ",") +
                       "{\"text\":" + JsonString(WindowText(child)) +
                       ",\"rect\":" + JsonRect(ScreenRect(child)) + "}";
        } else if (kind == L"Static" || kind == L"Edit") {
            std::wstring childText = WindowText(child);
            if (childText.size() > text.size()) text = std::move(childText);
        }
    }
    return "{\"title\":" + JsonString(WindowText(box)) +
           ",\"class\":" + JsonString(WindowClass(box)) + ",\"text\":" + JsonString(text) +
           ",\"buttons\":[" + buttons + "],\"rect\":" + JsonRect(ScreenRect(box)) + "}";
}

std::wstring ItemText(HWND combo, int index) {
    const auto item = static_cast<WPARAM>(index);
    std::wstring text(static_cast<std::size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, item, 0)),
                      L'\0');
    SendMessageW(combo, CB_GETLBTEXT, item, reinterpret_cast<LPARAM>(text.data()));
    return text;
}

std::string ComboListJson(HWND combo, const std::vector<HWND>& windows) {
    const bool open = SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) != 0;
    HWND list = nullptr;
    for (HWND window : windows) {
        if (IsClass(window, L"ComboLBox")) list = window;
    }
    if (!open || list == nullptr) return "{\"open\":false}";
    const auto highlight = static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
    const auto itemHeight = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    const auto count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    const RECT client = ClientScreenRect(list);
    std::string items;
    std::string highlighted = "null";
    for (int index = 0; index < count; ++index) {
        const std::wstring text = ItemText(combo, index);
        const LONG top = client.top + index * itemHeight;
        const RECT item{client.left, top, client.right, top + itemHeight};
        items += std::string(items.empty() ? "" : ",") + "{\"text\":" + JsonString(text) +
                 ",\"rect\":" + JsonRect(item) + "}";
        if (index == highlight) highlighted = JsonString(text);
    }
    return "{\"open\":true,\"highlight\":" + highlighted + ",\"items\":[" + items + "]}";
}

// Whether a context menu is open. Its items cannot be read from another
// process under Wine: a menu handle is the owning process's own.
std::string MenuJson(const std::vector<HWND>& windows) {
    for (HWND window : windows) {
        if (IsClass(window, L"#32768")) return "{\"open\":true}";
    }
    return "{\"open\":false}";
}

// What a screen reader is told of the window: its accessible name and role.
std::string AccessibleJson(HWND window, LONG objectId) {
    IAccessible* accessible = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(objectId),
                                          __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&accessible))) ||
        accessible == nullptr)
        return "null";
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::string json = "{\"name\":";
    json += SUCCEEDED(accessible->get_accName(self, &name)) && name != nullptr
                ? JsonString(std::wstring_view(name, SysStringLen(name)))
                : std::string("null");
    SysFreeString(name);
    VARIANT role{};
    wchar_t roleText[64]{};
    if (SUCCEEDED(accessible->get_accRole(self, &role)) && role.vt == VT_I4)
        GetRoleTextW(static_cast<DWORD>(role.lVal), roleText, 64);
    accessible->Release();
    return json + ",\"role\":" + JsonString(roleText) + "}";
}

std::string ControlsJson(HWND form) {
    std::string controls;
    std::string accessible = "\"Form2\":" + AccessibleJson(form, OBJID_WINDOW);
    for (const ControlDescription& control : Form2Description().controls) {
        if (!TakesInput(control.kind)) continue;
        HWND window = ControlWindow(form, control);
        const std::string name = JsonName(control.name);
        controls += std::string(controls.empty() ? "" : ",") + name +
                    ":{\"text\":" + JsonString(WindowText(window)) +
                    ",\"rect\":" + JsonRect(ScreenRect(window)) + "}";
        accessible += "," + name + ":" + AccessibleJson(window, OBJID_CLIENT);
    }
    return "\"controls\":{" + controls + "},\"accessible\":{" + accessible + "}";
}

} // namespace

std::string FormStateJson(const FormWindows& windows) {
    if (IsWindow(windows.form) == FALSE) return "{\"form\":null}";
    const std::vector<HWND> visible = VisibleWindows(windows.processId);
    std::string boxes;
    for (HWND window : visible) {
        if (IsBox(window, windows.form))
            boxes += std::string(boxes.empty() ? "" : ",") + BoxJson(window);
    }
    const ControlDescription* combo = FindControl(Form2Description(), "Combo1");
    return "{\"form\":{\"title\":" + JsonString(WindowText(windows.form)) +
           ",\"client\":" + JsonRect(ClientScreenRect(windows.form)) + "}," +
           ControlsJson(windows.form) + ",\"focus\":" + FocusJson(windows) + ",\"boxes\":[" +
           boxes +
           "],\"combo_list\":" + ComboListJson(ControlWindow(windows.form, *combo), visible) +
           ",\"menu\":" + MenuJson(visible) + "}";
}
