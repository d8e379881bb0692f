// The Win32 form layer: a top-level window that owns the named components of
// its FormModel. Text-bearing components are real child windows whose window
// text is their caption; pictures and bevels are painted as the background of
// their container (the window or a panel) when it is erased, only the part
// that needs painting, from pictures decoded once. Labels over them get the
// same background painted under their text, so they look transparent.
// Geometry scales by the window's DPI over 96 and follows WM_DPICHANGED. The
// parts of this class are implemented in the Form*Win32.cpp files beside it
// (FormPartsWin32.h lists them).
#pragma once

#include "base/Handles.h"
#include "forms/FormModel.h"
#include "forms/PictureWin32.h"

#include <windows.h>

#include <memory>
#include <type_traits>
#include <vector>

namespace kavrolt::win {

struct WindowSpec {
    const wchar_t* className;
    int clientWidth; // at 96 DPI
    int clientHeight;
    DWORD style;
    DWORD exStyle;
    int background; // system colour of the client area
    // Give the controls their fonts when they are created; a window whose
    // creation handler sets its own fonts right after skips this.
    bool applyFontsOnCreate = true;
};

class Form {
public:
    Form(FormModel model, WindowSpec spec);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // Registers the window class once and creates the window, hidden, with all
    // of its child controls.
    bool Create(HWND owner);
    HWND Handle() const { return window_; }
    FormModel& Model() { return model_; }
    const FormModel& Model() const { return model_; }
    // The child window of a component, by its typed control ID or its index;
    // nothing for a component without one.
    template <typename Id>
    requires std::is_enum_v<Id> HWND Control(Id id)
    const { return ControlAt(Index(id)); }
    HWND ControlAt(int index) const;
    // Tab moves through a container's children in their z-order: puts the
    // controls at the top of it, in the order given.
    template <typename Ids> void SetTabOrder(const Ids& order) {
        HWND previous = HWND_TOP;
        for (auto id : order) {
            HWND control = Control(id);
            SetWindowPos(control, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            previous = control;
        }
    }
    int Dpi() const { return dpi_; }
    int Scale(int pixelsAt96) const { return MulDiv(pixelsAt96, dpi_, 96); }

    // Creates the fonts that the model gives and hands them to the controls.
    void ApplyFonts();
    // Gives a label the underline style, or takes it away, other styles kept.
    void SetUnderline(int index, bool underline);
    // Places the window centred over another window, or, without a visible
    // one, over the whole screen.
    void CentreOver(HWND other);

protected:
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam);
    // What the derived window does when a component is clicked or hovered.
    virtual void OnClick(int /*index*/) {}
    virtual void OnMouseEnter(int /*index*/) {}
    virtual void OnMouseLeave(int /*index*/) {}
    // The RCDATA resource of a component's picture at the window's DPI;
    // nothing draws nothing. The form decodes each resource once.
    virtual const wchar_t* PictureResource(int /*index*/) const { return nullptr; }
    // Called once the child windows exist.
    virtual void OnCreated() {}
    // Paints the backgrounds again, e.g. after the pictures changed.
    void RedrawBackgrounds();

private:
    // Registration and message routing (FormWin32.cpp).
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT ContainerMessage(int container, HWND handle, UINT message, WPARAM wParam, LPARAM lParam,
                             bool& handled);
    LRESULT ToWindow(int container, UINT message, WPARAM wParam, LPARAM lParam, bool& handled);

    // The child windows (FormControlsWin32.cpp).
    HWND ContainerWindow(int container) const;
    int IndexOfControl(HWND control) const;
    // A component's box at the window's DPI, in its container's client area.
    RECT ScaledBox(const Component& component) const;
    void CreateControl(std::size_t index);
    void LayOut();
    void PlaceControl(std::size_t index);
    void GiveFont(std::size_t index, const FontSpec& font);
    void ShowText(int index);

    // The backgrounds (FormBackgroundWin32.cpp).
    // The decoded picture of a component, nothing for none.
    BorrowedBitmap PictureOf(std::size_t index);
    // Paints the background of a container for area (container client
    // coordinates) into dc, area's top-left corner at the point at.
    void PaintBackground(int container, BorrowedDc dc, const RECT& area, POINT at);
    void ComposeBackground(int container, BorrowedDc composed, const RECT& area, BorrowedDc source);
    int BackgroundOf(int container) const;
    LRESULT EraseBackground(int container, HWND handle, BorrowedDc dc);
    LRESULT ColourStatic(int container, HWND handle, int index, BorrowedDc dc);
    LRESULT ColourEdit(int container, BorrowedDc dc);

    // The pointer, hover and hints (FormPointerWin32.cpp).
    int PictureAt(int container, POINT point) const;
    int ComponentAt(int container, POINT point) const;
    HCURSOR CursorFor(int index) const;
    LRESULT PointerOver(int container, HWND handle, HWND target, bool& handled);
    void ButtonDown(int container, HWND handle, LPARAM lParam);
    void ButtonUp(int container, HWND handle, LPARAM lParam);
    void Hover(int index);
    void PollHover();
    void PointHint(int index);
    void LeaveHint();
    void UpdatePollTimer();

    // DPI and settings changes (FormDpiWin32.cpp).
    void FollowActualDpi();
    void DpiChanged(WPARAM wParam, LPARAM lParam);
    void SettingChanged(WPARAM wParam, LPARAM lParam);

    FormModel model_;
    WindowSpec spec_;
    HWND window_ = nullptr;
    int dpi_ = 96;
    std::vector<HWND> controls_;
    std::vector<UniqueFont> fonts_;
    UniqueFont formFont_;
    // Per component: its decoded picture and the resource it came from.
    struct CachedPicture {
        const wchar_t* name = nullptr;
        UniqueBitmap bitmap;
    };
    std::vector<CachedPicture> pictures_;
    int hovered_ = -1;
    int pressed_ = -1; // the component that the left button went down on
    int hinted_ = -1;  // the component whose hint applies under the pointer
};

} // namespace kavrolt::win
