#include "win/frm_print_out.h"

#include <string_view>
#include <utility>
#include <vector>

#include "win/run_progress.h"
#include "win/wide_text.h"

namespace mirudana::win {
namespace {

constexpr wchar_t kClassName[] = L"MirudanaPrintOut";
// Not clipping its children: the labels let the window's ground show through.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;
// The icon in the resources (mirudana.rc).
constexpr int kToolIconId = 1;

void registerClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (GetClassInfoExW(instance, kClassName, &windowClass)) return;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kToolIconId));
    RegisterClassExW(&windowClass);
}

struct ControlClass {
    const wchar_t* name;
    DWORD style;
    DWORD exStyle;
};

ControlClass controlClass(const WindowControl& control) {
    const DWORD common = WS_CHILD | WS_VISIBLE;
    switch (control.kind) {
        case ControlKind::Label:
            // A label without an access key shows "&" as it is.
            return {WC_STATICW,
                    common | SS_LEFT |
                        (std::string_view(control.caption).find('&') == std::string_view::npos
                             ? SS_NOPREFIX
                             : 0),
                    0};
        case ControlKind::ListBox:
            // Drawn by the window, so long paths are shortened in the middle; the bar
            // always there keeps the lines as wide as they were drawn.
            return {WC_LISTBOXW,
                    common | WS_TABSTOP | WS_VSCROLL | LBS_DISABLENOSCROLL | LBS_NOINTEGRALHEIGHT |
                        LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY,
                    WS_EX_CLIENTEDGE};
        case ControlKind::TextBox:
            // A thin border leaves room for the line of a Japanese UI font.
            return {WC_EDITW, common | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 0};
        case ControlKind::Button:
            return {WC_BUTTONW, common | WS_TABSTOP | BS_PUSHBUTTON, 0};
        case ControlKind::CheckBox:
            return {WC_BUTTONW, common | WS_TABSTOP | BS_AUTOCHECKBOX, 0};
    }
    return {WC_STATICW, common, 0};
}

std::string textOf(HWND box) { return windowText(box); }

}  // namespace

frmPrintOut::frmPrintOut(const ReferenceData& references, UserInterface& ui, FileDialogs& dialogs,
                         const std::string& programFolder)
    : dialogs_(dialogs) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    registerClass(instance, windowProc);
    CreateWindowExW(kExStyle, kClassName, widen(kApplicationTitle).c_str(), kStyle, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, this);
    if (window_ == nullptr) return;
    model_ = std::make_unique<WindowModel>(references, ui, *files_, *this);
    Form_Load(programFolder);
}

frmPrintOut::~frmPrintOut() {
    model_.reset();  // ends following first
    if (window_ != nullptr) DestroyWindow(window_);
}

LRESULT CALLBACK frmPrintOut::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<frmPrintOut*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<frmPrintOut*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    return self->onMessage(message, wParam, lParam);
}

LRESULT frmPrintOut::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            onCreate();
            return 0;
        case WM_COMMAND:
            onCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_DROPFILES:
            onDropFiles(reinterpret_cast<HDROP>(wParam));
            return 0;
        case WM_DPICHANGED:
            onDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_MEASUREITEM:
            onMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_DRAWITEM:
            onDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_NOTIFY:
            return onNotify(*reinterpret_cast<NMHDR*>(lParam));
        case WM_CTLCOLORSTATIC:
            return onCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_NEXTDLGCTL:
            onNextDlgCtl(wParam, LOWORD(lParam) != 0);
            return 0;
        case WM_ACTIVATE:
            onActivate(LOWORD(wParam) != WA_INACTIVE);
            return 0;
        case WM_CLOSE:
            onClose();
            return 0;
        case kPostedWork:
            onPostedWork();
            return 0;
        case WM_NCDESTROY: {
            const HWND window = window_;
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            window_ = nullptr;
            return DefWindowProcW(window, message, wParam, lParam);
        }
        default:
            return DefWindowProcW(window_, message, wParam, lParam);
    }
}

// Files dropped on the list reach the list box itself; it hands them to the window.
LRESULT CALLBACK frmPrintOut::listProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR self) {
    auto* window = reinterpret_cast<frmPrintOut*>(self);
    if (message == WM_DROPFILES && window->model_) {
        window->onDropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    }
    // Moving to another line asks the tip for that line's path.
    if (message == WM_MOUSEMOVE && window->lineAtPointer() != window->tipLine_) {
        window->tipLine_ = window->lineAtPointer();
        SendMessageW(window->tips_, TTM_UPDATE, 0, 0);
    }
    return DefSubclassProc(list, message, wParam, lParam);
}

void frmPrintOut::onCreate() {
    dpi_ = GetDpiForWindow(window_);
    createControls();
    RECT frame;
    GetWindowRect(window_, &frame);
    layOut({frame.left, frame.top});
    lastFocus_ = control(Control::lstKVS);
    SetFocus(lastFocus_);
}

void frmPrintOut::createControls() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    // Created in tab order, which is also the order the dialog keys step through.
    for (std::size_t i = 0; i < kWindowControls.size(); ++i) {
        const WindowControl& design = kWindowControls[i];
        const ControlClass kind = controlClass(design);
        controls_[i] = CreateWindowExW(
            kind.exStyle, kind.name, widen(design.caption).c_str(), kind.style, 0, 0, 0, 0, window_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + static_cast<int>(i))),
            instance, nullptr);
    }
    files_ = std::make_unique<ListBoxFileList>(control(Control::lstKVS));
    SetWindowSubclass(control(Control::lstKVS), listProc, 0, reinterpret_cast<DWORD_PTR>(this));
    DragAcceptFiles(control(Control::lstKVS), TRUE);

    // The captionless buttons say what they do in a tip, and a line of the list
    // shows its whole path, which the line may show shortened.
    tips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_,
                            nullptr, instance, nullptr);
    for (std::size_t i = 0; i < kWindowControls.size(); ++i) {
        if (*kWindowControls[i].tip == '\0') continue;
        std::wstring tip = widen(kWindowControls[i].tip);
        addTip(controls_[i], tip.data());
    }
    addTip(control(Control::lstKVS), LPSTR_TEXTCALLBACKW);
    createStatusLine();
}

// The status line may say more than fits: it is shortened (showRunStatus says
// where), and the label takes the pointer so that its tip can show it whole.
void frmPrintOut::createStatusLine() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    statusLine_ = CreateWindowExW(
        0, WC_STATICW, nullptr,
        WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS | SS_NOTIFY, 0, 0, 0, 0,
        window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStatusLineId)), instance, nullptr);
    warningsLine_ = CreateWindowExW(
        0, WC_STATICW, nullptr,
        WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS | SS_NOTIFY, 0, 0, 0, 0,
        window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kWarningsLineId)), instance, nullptr);
    openReport_ = CreateWindowExW(0, WC_BUTTONW, widen(kOpenReportCaption).c_str(),
                                  WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0, window_,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kOpenReportId)),
                                  instance, nullptr);
    addTip(statusLine_, LPSTR_TEXTCALLBACKW);
    addTip(warningsLine_, LPSTR_TEXTCALLBACKW);
    std::wstring tip = widen(kOpenReportTip);
    addTip(openReport_, tip.data());
}

void frmPrintOut::addTip(HWND control, wchar_t* text) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text;
    SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

// The line under the pointer, or -1.
int frmPrintOut::lineAtPointer() const {
    HWND list = control(Control::lstKVS);
    POINT pointer;
    GetCursorPos(&pointer);
    ScreenToClient(list, &pointer);
    const LRESULT hit = SendMessageW(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(pointer.x, pointer.y));
    return HIWORD(hit) == 0 ? LOWORD(hit) : -1;
}

void frmPrintOut::onLineTip(NMTTDISPINFOW& tip) {
    const int line = lineAtPointer();
    tipText_ = line >= 0 && line < files_->count() ? widen(files_->entryAt(line)) : std::wstring();
    tip.lpszText = tipText_.data();
}

// Places every control for the window's DPI, with the message font of that DPI.
void frmPrintOut::layOut(POINT position) {
    font_ = std::make_unique<MessageFont>(dpi_);
    setClientSize(window_, scaled(kWindowWidthTwips / kTwipsPerPixel, dpi_),
                  scaled((kWindowHeightTwips + kStatusLineHeightTwips) / kTwipsPerPixel, dpi_),
                  position, dpi_);
    for (std::size_t i = 0; i < kWindowControls.size(); ++i) {
        const RECT place = pixelRect(kWindowControls[i].place, dpi_);
        SetWindowPos(controls_[i], nullptr, place.left, place.top, place.right - place.left,
                     place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font_->handle()), TRUE);
    }
    for (auto [child, place] : {std::pair{statusLine_, kStatusLinePlace},
                                {openReport_, kOpenReportPlace},
                                {warningsLine_, kScriptWarningsPlace}}) {
        const RECT pixels = pixelRect(place, dpi_);
        SetWindowPos(child, nullptr, pixels.left, pixels.top, pixels.right - pixels.left,
                     pixels.bottom - pixels.top, SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_->handle()), TRUE);
    }
    SendMessageW(tips_, WM_SETFONT, reinterpret_cast<WPARAM>(font_->handle()), TRUE);
    // The list's lines follow the font.
    MEASUREITEMSTRUCT line{};
    onMeasureItem(line);
    SendMessageW(control(Control::lstKVS), LB_SETITEMHEIGHT, 0, line.itemHeight);

    InvalidateRect(window_, nullptr, TRUE);
}

void frmPrintOut::onMeasureItem(MEASUREITEMSTRUCT& item) const {
    HDC context = GetDC(window_);
    HGDIOBJ old = SelectObject(context, font_->handle());
    TEXTMETRICW metrics;
    GetTextMetricsW(context, &metrics);
    SelectObject(context, old);
    ReleaseDC(window_, context);
    item.itemHeight = static_cast<UINT>(metrics.tmHeight + scaled(2, dpi_));
}

void frmPrintOut::onDrawItem(const DRAWITEMSTRUCT& item) const {
    if (item.itemID == static_cast<UINT>(-1)) return;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    const bool selected = (item.itemState & ODS_SELECTED) != 0 && !disabled;
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(disabled   ? COLOR_GRAYTEXT
                                       : selected ? COLOR_HIGHLIGHTTEXT
                                                  : COLOR_WINDOWTEXT));
    std::wstring text = widen(files_->entryAt(static_cast<int>(item.itemID)));
    RECT line = item.rcItem;
    line.left += scaled(2, dpi_);
    DrawTextW(item.hDC, text.data(), static_cast<int>(text.size()), &line,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_PATH_ELLIPSIS);
    if ((item.itemState & ODS_FOCUS) != 0) DrawFocusRect(item.hDC, &item.rcItem);
}

LRESULT frmPrintOut::onNotify(NMHDR& header) {
    if (header.code == NM_CUSTOMDRAW) {
        return onCustomDraw(reinterpret_cast<const NMCUSTOMDRAW&>(header));
    }
    if (header.code == TTN_GETDISPINFOW && header.hwndFrom == tips_) {
        auto& tip = reinterpret_cast<NMTTDISPINFOW&>(header);
        if (header.idFrom == reinterpret_cast<UINT_PTR>(control(Control::lstKVS))) onLineTip(tip);
        for (auto [line, text] :
             {std::pair{statusLine_, &statusText_}, {warningsLine_, &warningsTip_}}) {
            if (header.idFrom != reinterpret_cast<UINT_PTR>(line)) continue;
            tipText_ = widen(*text);
            tip.lpszText = tipText_.data();
        }
    }
    return 0;
}

// The captionless buttons are drawn by the system, their glyph on top.
LRESULT frmPrintOut::onCustomDraw(const NMCUSTOMDRAW& draw) const {
    const auto which = static_cast<std::size_t>(draw.hdr.idFrom - kFirstControlId);
    if (which >= kWindowControls.size() || controls_[which] != draw.hdr.hwndFrom) {
        return CDRF_DODEFAULT;
    }
    const Glyph* glyph = kWindowControls[which].glyph;
    if (glyph == nullptr) return CDRF_DODEFAULT;
    if (draw.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYPOSTPAINT;
    if (draw.dwDrawStage != CDDS_POSTPAINT) return CDRF_DODEFAULT;
    const HBRUSH ink =
        GetSysColorBrush((draw.uItemState & CDIS_DISABLED) != 0 ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
    const int left = (draw.rc.left + draw.rc.right - scaled(glyph->width, dpi_)) / 2;
    const int top = (draw.rc.top + draw.rc.bottom - scaled(glyph->height, dpi_)) / 2;
    for (std::size_t i = 0; i < glyph->partCount; ++i) {
        const PixelRect& part = glyph->parts[i];
        const RECT box{left + scaled(part.left, dpi_), top + scaled(part.top, dpi_),
                       left + scaled(part.left + part.width, dpi_),
                       top + scaled(part.top + part.height, dpi_)};
        FillRect(draw.hdc, &box, ink);
    }
    return CDRF_DODEFAULT;
}

// Labels draw only their text: where one reaches a pixel into the box below it,
// the box's border stays whole.
LRESULT frmPrintOut::onCtlColorStatic(HDC context, HWND control) const {
    const auto id = static_cast<std::size_t>(GetDlgCtrlID(control) - kFirstControlId);
    const bool label =
        control == statusLine_ || control == warningsLine_ ||
        (id < kWindowControls.size() && kWindowControls[id].kind == ControlKind::Label);
    if (!label) {
        return DefWindowProcW(window_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(context),
                              reinterpret_cast<LPARAM>(control));
    }
    SetBkMode(context, TRANSPARENT);
    SetTextColor(context, GetSysColor(COLOR_BTNTEXT));
    return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
}

void frmPrintOut::onDpiChanged(UINT dpi, const RECT& suggested) {
    dpi_ = dpi;
    layOut({suggested.left, suggested.top});
}

// The dialog keys ask for this when a label's access key moves the focus on to the
// control after the label; a plain window has to answer it itself.
void frmPrintOut::onNextDlgCtl(WPARAM target, bool direct) {
    HWND next = direct ? reinterpret_cast<HWND>(target)
                       : GetNextDlgTabItem(window_, GetFocus(), target != 0);
    if (next != nullptr) SetFocus(next);
}

// The control that had the focus gets it back when the window is active again.
void frmPrintOut::onActivate(bool active) {
    if (!active) {
        const HWND focus = GetFocus();
        if (focus != nullptr && IsChild(window_, focus)) lastFocus_ = focus;
    } else if (lastFocus_ != nullptr) {
        SetFocus(lastFocus_);
    }
}

void frmPrintOut::onClose() {
    if (!model_->mayClose()) return;
    model_->setFollowing(false);
    DestroyWindow(window_);
}

void frmPrintOut::onPostedWork() {
    std::function<void()> work;
    {
        std::lock_guard<std::mutex> lock(postedLock_);
        if (posted_.empty()) return;
        work = std::move(posted_.front());
        posted_.pop_front();
    }
    work();
}

void frmPrintOut::post(std::function<void()> work) {
    {
        std::lock_guard<std::mutex> lock(postedLock_);
        posted_.push_back(std::move(work));
    }
    PostMessageW(window_, kPostedWork, 0, 0);
}

bool frmPrintOut::navigate(MSG& message) { return IsDialogMessageW(window_, &message) != FALSE; }

void frmPrintOut::runUntilClosed() {
    MSG message;
    while (window_ != nullptr && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (navigate(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void frmPrintOut::Form_Load(const std::string& programFolder) {
    files_->clear();
    const WindowStartTexts start = windowStartTexts(programFolder);
    setPathText(Control::txtEngine, start.scriptPath);
    setPathText(Control::txtOutputTo, start.outputPath);
    setLabelText(control(Control::lblTTSVer), start.versionCaption);
}

// A label draws no ground of its own, so the window's is drawn again behind it.
void frmPrintOut::setLabelText(HWND label, const std::string& text) {
    setWindowText(label, text);
    RECT place;
    GetWindowRect(label, &place);
    MapWindowPoints(HWND_DESKTOP, window_, reinterpret_cast<POINT*>(&place), 2);
    RedrawWindow(window_, &place, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// A path box scrolled to the path's end, so the file name and its extension show.
void frmPrintOut::setPathText(Control box, const std::string& path) {
    setWindowText(control(box), path);
    const LRESULT length = SendMessageW(control(box), WM_GETTEXTLENGTH, 0, 0);
    SendMessageW(control(box), EM_SETSEL, static_cast<WPARAM>(length), length);
    SendMessageW(control(box), EM_SCROLLCARET, 0, 0);
}

void frmPrintOut::showRunStatus(const RunStatus& status) {
    statusText_ = status.text;
    warningsTip_ = status.warningsTip;
    // Path ellipsis keeps what follows the last backslash; a text without one would be
    // cut at its end with no mark, so it is shortened at its end instead.
    const LONG_PTR style = GetWindowLongPtrW(statusLine_, GWL_STYLE) & ~LONG_PTR{SS_ELLIPSISMASK};
    SetWindowLongPtrW(statusLine_, GWL_STYLE,
                      style | (status.endsInPath ? SS_PATHELLIPSIS : SS_ENDELLIPSIS));
    setLabelText(statusLine_, statusText_);
    setLabelText(warningsLine_, status.warnings);
    ShowWindow(openReport_, status.reportToOpen.empty() ? SW_HIDE : SW_SHOW);
}

void frmPrintOut::onCommand(int id, int code) {
    if (code != BN_CLICKED || !model_) return;
    if (id == kOpenReportId) {
        cmdOpenReport_Click();
        return;
    }
    static constexpr std::pair<Control, void (frmPrintOut::*)()> kClicks[] = {
        {Control::cmdOpenInput, &frmPrintOut::cmdOpenInput_Click},
        {Control::cmdAddFolder, &frmPrintOut::cmdAddFolder_Click},
        {Control::chkFollow, &frmPrintOut::chkFollow_Click},
        {Control::cmdFClear, &frmPrintOut::cmdFClear_Click},
        {Control::cmdOpenEngine, &frmPrintOut::cmdOpenEngine_Click},
        {Control::cmdOpenOutput, &frmPrintOut::cmdOpenOutput_Click},
        {Control::cmdStart, &frmPrintOut::cmdStart_Click},
    };
    for (const auto& [which, click] : kClicks) {
        if (id == kFirstControlId + static_cast<int>(which)) (this->*click)();
    }
}

void frmPrintOut::onDropFiles(HDROP drop) {
    std::vector<std::string> paths;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring path(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
        path.resize(DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size())));
        paths.push_back(narrow(path));
    }
    DragFinish(drop);
    model_->addPaths(paths, "frmPrintout.lstKVS_OLEDragDrop");
}

void frmPrintOut::cmdOpenInput_Click() { model_->addFilesByDialog(dialogs_); }

void frmPrintOut::cmdAddFolder_Click() { model_->addFolderByDialog(dialogs_); }

void frmPrintOut::chkFollow_Click() {
    model_->setFollowing(SendMessageW(control(Control::chkFollow), BM_GETCHECK, 0, 0) ==
                         BST_CHECKED);
}

void frmPrintOut::cmdFClear_Click() { model_->clearFiles(); }

void frmPrintOut::cmdOpenEngine_Click() {
    if (auto path = browseForScript(dialogs_, model_->ui())) setPathText(Control::txtEngine, *path);
}

void frmPrintOut::cmdOpenOutput_Click() {
    if (auto path = browseForOutput(dialogs_, model_->ui())) {
        setPathText(Control::txtOutputTo, *path);
    }
}

// The focus comes back to where it was once the inputs are on again.
void frmPrintOut::cmdStart_Click() {
    const HWND focus = GetFocus();
    model_->start();
    if (focus != nullptr) SetFocus(focus);
}

void frmPrintOut::cmdOpenReport_Click() { model_->openReport(); }

std::string frmPrintOut::scriptPath() const { return textOf(control(Control::txtEngine)); }

std::string frmPrintOut::outputPath() const { return textOf(control(Control::txtOutputTo)); }

bool frmPrintOut::sortFirst() const {
    return SendMessageW(control(Control::chkFileSort), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::unique_ptr<RunObserver> frmPrintOut::runProgress() {
    return std::make_unique<RunProgress>(window_, progressDelayMs_);
}

void frmPrintOut::openWithDesktop(const std::string& path) {
    ShellExecuteW(nullptr, L"open", widen(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

// The follow box stays on during a run, so following can be ended while it lasts.
// The list is drawn again only after the run: a list box that redraws at each line
// the run's check drops or its sort exchanges freezes the window for minutes.
void frmPrintOut::setInputsEnabled(bool enabled) {
    HWND list = control(Control::lstKVS);
    for (std::size_t i = 0; i < kWindowControls.size(); ++i) {
        if (kWindowControls[i].kind != ControlKind::Label &&
            static_cast<Control>(i) != Control::chkFollow) {
            EnableWindow(controls_[i], enabled);
        }
    }
    // The list is shown greyed at once, then left unpainted while a run sorts it.
    if (!enabled) {
        InvalidateRect(list, nullptr, TRUE);
        UpdateWindow(list);
        SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    }
    if (enabled) {
        SendMessageW(list, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list, nullptr, TRUE);
    }
}

}  // namespace mirudana::win
