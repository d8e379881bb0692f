// The Win32 form layer: a top-level window that owns the named components of
// its FormModel. Text-bearing components are real child windows whose window
// text is their caption; pictures and bevels are painted as the background of
// their container (the window or a panel) when it is erased, only the part
// that needs painting, from pictures decoded once. Labels over them get the
// same background painted under their text, so they look transparent.
// Geometry scales by the window's DPI over 96 and follows WM_DPICHANGED.
#pragma once

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
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT ContainerMessage(int container, HWND handle, UINT message, WPARAM wParam, LPARAM lParam,
                             bool& handled);
    HWND ContainerWindow(int container) const;
    int IndexOfControl(HWND control) const;
    int PictureAt(int container, POINT point) const;
    int ComponentAt(int container, POINT point) const;
    void CreateControl(std::size_t index);
    void LayOut();
    void PlaceControl(std::size_t index);
    void ShowText(int index);
    // The decoded picture of a component, nothing for none.
    HBITMAP PictureOf(std::size_t index);
    // Paints the background of a container for area (container client
    // coordinates) into dc, area's top-left corner at the point at.
    void PaintBackground(int container, HDC dc, const RECT& area, POINT at);
    HCURSOR CursorFor(int index) const;
    int BackgroundOf(int container) const;
    void Hover(int index);
    void PollHover();
    void PointHint(int index);
    void LeaveHint();
    void UpdatePollTimer();

    FormModel model_;
    WindowSpec spec_;
    HWND window_ = nullptr;
    int dpi_ = 96;
    std::vector<HWND> controls_;
    std::vector<FontHandle> fonts_;
    FontHandle formFont_;
    // Per component: its decoded picture and the resource it came from.
    struct CachedPicture {
        const wchar_t* name = nullptr;
        BitmapHandle bitmap;
    };
    std::vector<CachedPicture> pictures_;
    int hovered_ = -1;
    int pressed_ = -1; // the component that the left button went down on
    int hinted_ = -1;  // the component whose hint applies under the pointer
};

} // namespace kavrolt::win
