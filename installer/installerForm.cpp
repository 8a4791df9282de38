// TInstallerForm as a window: its components, layout, phases, pauses and
// event handlers.
#include "installer/fInstall.h"

#include <commctrl.h>

#include "common/QRX_FileUtils.h"
#include "common/unicodeText.h"
#include "common/windowClass.h"
#include "common/windowDpi.h"
#include "common/workFolder.h"
#include "installer/installerApplication.h"
#include "installer/installerFont.h"
#include "installer/installerLayout.h"
#include "installer/stringTable.h"
#include "installer/launcherLink.h"
#include "installer/licenseText.h"
#include "common/pictureFile.h"
#include "package/packageCopy.h"
#include "package/dataStructures_shared.h"

namespace {

const wchar_t FORM_CLASS[] = L"TInstallerForm";
const wchar_t PANEL_CLASS[] = L"TPanel";
const wchar_t PICTURE_CLASS[] = L"TImage";
const DWORD SINGLE_BORDER = WS_CAPTION | WS_SYSMENU;
const UINT_PTR PAUSE_TIMER_ID = 1;
const UINT PAUSE_TIMER_INTERVAL_MS = 100;
// Room for the design layout before the start-up sizes the window.
const int DESIGN_HEIGHT = 710;
// The buttons' ids: Enter and Esc stand for IDOK and IDCANCEL.
const int INSTALL_ID = IDOK;
const int CANCEL_ID = IDCANCEL;
const int DONE_ID = IDCLOSE;
// Panels only group; Tab goes on into their controls.
const DWORD PANEL_STYLE = WS_EX_CONTROLPARENT;

// Made without a size: placeComponents places every component.
HWND createChild(const wchar_t *windowClass, const std::string &text, DWORD style, DWORD extendedStyle,
                 HWND parent, HINSTANCE instance, void *creationData = nullptr) {
  return CreateWindowExW(extendedStyle, windowClass, wideFromUtf8(text).c_str(), WS_CHILD | style, 0, 0, 0,
                         0, parent, nullptr, instance, creationData);
}

HWND createButton(const std::string &text, int id, DWORD style, HWND parent, HINSTANCE instance) {
  return CreateWindowExW(0, L"BUTTON", wideFromUtf8(text).c_str(), WS_CHILD | WS_TABSTOP | style, 0, 0, 0,
                         0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

bool pressable(HWND button) { return IsWindowVisible(button) && IsWindowEnabled(button); }

// The licence box is made only when needed, so it may not be there yet.
void moveTo(HWND window, const LayoutRect &place) {
  if (window == nullptr) return;
  MoveWindow(window, place.left, place.top, place.width, place.height, TRUE);
}

void setLeft(HWND window, int left) {
  RECT frame;
  GetWindowRect(window, &frame);
  MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT *>(&frame), 2);
  MoveWindow(window, left, frame.top, frame.right - frame.left, frame.bottom - frame.top, TRUE);
}

int widthOf(HWND window) {
  RECT frame;
  GetWindowRect(window, &frame);
  return frame.right - frame.left;
}

void showIf(HWND window, bool visible) { ShowWindow(window, visible ? SW_SHOW : SW_HIDE); }

TInstallerForm *formOf(HWND window) {
  return reinterpret_cast<TInstallerForm *>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

}  // namespace

TInstallerForm::TInstallerForm(HINSTANCE instance, TpreparingInstallWnd &preparingWindow,
                               uint32_t programSize, const RunLog &log, const InstallerSwitches &switches)
    : programSize_(programSize),
      switches_(switches),
      log_(log),
      quietAndLog_(switches.silent ? static_cast<InstallObserver &>(silent_) : quiet_, log_),
      windowAndLog_(*this, log_),
      instance_(instance),
      preparingWindow_(preparingWindow) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  registerUnicodeWindowClass(instance, FORM_CLASS, windowProc);
  registerUnicodeWindowClass(instance, PANEL_CLASS, panelProc);
  registerUnicodeWindowClass(instance, PICTURE_CLASS, pictureProc);
}

TInstallerForm::~TInstallerForm() {
  moviePanel1.reset();
  if (window_ != nullptr && IsWindow(window_)) DestroyWindow(window_);
  if (picture_ != nullptr) DeleteObject(picture_);
  if (font_ != nullptr) DeleteObject(font_);
}

// The window opens on the primary monitor; its creation asks for the DPI
// of the monitor it is on.
void TInstallerForm::create() {
  const int primaryDpi = windowDpi(nullptr);
  CreateWindowExW(WS_EX_TOPMOST, FORM_CLASS, L"", SINGLE_BORDER, 0, 0, scaledToDpi(FORM_WIDTH, primaryDpi),
                  scaledToDpi(DESIGN_HEIGHT, primaryDpi), applicationWindow(), nullptr, instance_, this);
  if (window_ == nullptr) {
    PostQuitMessage(0);
  } else if (endsAfterStartup) {
    finishStartup();
    closeAndEnd();
  } else {
    FormShow();
    finishStartup();
  }
}

void TInstallerForm::createComponents() {
  dpi_ = windowDpi(window_);
  font_ = createInstallerFont(dpi_);
  contentPanel = createChild(PANEL_CLASS, "", WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_STATICEDGE | PANEL_STYLE,
                             window_, instance_);
  bmpPanel = createChild(PICTURE_CLASS, "", 0, 0, contentPanel, instance_, this);
  moviePanel1.reset(new TFlashPanel(contentPanel));
  buttonPanel = createChild(PANEL_CLASS, "", WS_VISIBLE, PANEL_STYLE, window_, instance_);
  labCopying = createChild(L"STATIC", "", SS_LEFT | SS_NOPREFIX, 0, buttonPanel, instance_);
  // Its window text is its name for screen readers.
  progressBar =
      createChild(PROGRESS_CLASSW, programText(IDS_INSTALLING), WS_VISIBLE, 0, buttonPanel, instance_);
  SendMessageA(progressBar, PBM_SETSTEP, 1, 0);
  // "Install" and "Close" are never shown together: each is the default button in its phase.
  installBtn = createButton(programText(IDS_INSTALL_BUTTON), INSTALL_ID, WS_VISIBLE | BS_DEFPUSHBUTTON,
                            buttonPanel, instance_);
  doneBtn = createButton("", DONE_ID, BS_DEFPUSHBUTTON, buttonPanel, instance_);
  cancelBtn =
      createButton(programText(IDS_CANCEL), CANCEL_ID, WS_VISIBLE | BS_PUSHBUTTON, buttonPanel, instance_);
  placeComponents();
}

// Every component at its design place and size scaled to the window's DPI,
// in the window's font. The rules of the start-up and of FormResize then
// move the button panel, the licence box and the buttons.
void TInstallerForm::placeComponents() {
  moveTo(contentPanel, scaledRect(CONTENT_PANEL, dpi_));
  RECT inside;
  GetClientRect(contentPanel, &inside);
  const LayoutRect filling = {0, 0, inside.right, inside.bottom};
  moveTo(bmpPanel, filling);
  moveTo(moviePanel1->handle(), filling);
  moveTo(licenseScrollBox, scaledRect(LICENSE_BOX, dpi_));
  moveTo(buttonPanel, scaledRect(BUTTON_PANEL, dpi_));
  moveTo(labCopying, scaledRect(STATUS_LINE, dpi_));
  moveTo(progressBar, scaledRect(PROGRESS_BAR, dpi_));
  LayoutRect install = INSTALL_BUTTON;
  install.width = installButtonWidth();
  moveTo(installBtn, scaledRect(install, dpi_));
  moveTo(doneBtn, scaledRect(DONE_BUTTON, dpi_));
  moveTo(cancelBtn, scaledRect(CANCEL_BUTTON, dpi_));
  for (HWND control : {licenseScrollBox, labCopying, installBtn, doneBtn, cancelBtn})
    if (control != nullptr) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
}

// Its library is the heaviest of the window's, and most packages show no
// licence, so the box is made when the first licence is shown. It goes
// behind the content panel, where the tab order has it.
void TInstallerForm::createLicenseBoxOnce() {
  if (licenseScrollBox != nullptr) return;
  licenseScrollBox = createLicenseBox(window_, instance_, contentPanel);
  moveTo(licenseScrollBox, scaledRect(LICENSE_BOX, dpi_));
  SendMessageA(licenseScrollBox, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
}

int TInstallerForm::installButtonWidth() const {
  return licenseShown ? ACCEPT_AND_INSTALL_WIDTH : INSTALL_BUTTON.width;
}

int TInstallerForm::scaled(int designPixels) const { return scaledToDpi(designPixels, dpi_); }

// ---- Operations of the install driver ----

void TInstallerForm::status(const std::string &text) {
  ShowWindow(labCopying, SW_SHOW);
  SetWindowTextW(labCopying, wideFromUtf8(text).c_str());
  UpdateWindow(labCopying);
}

void TInstallerForm::progress() {
  SendMessageA(progressBar, PBM_STEPIT, 0, 0);
  pauseBriefly();
}

// "Cancel" runs inside a pause and pauses itself: the inner pause restarts
// the timer, and both loops end when it fires.
void TInstallerForm::pauseBriefly() {
  pauseTimerEnabled = true;
  SetTimer(window_, PAUSE_TIMER_ID, PAUSE_TIMER_INTERVAL_MS, nullptr);
  MSG message;
  while (pauseTimerEnabled) {
    if (GetMessageW(&message, nullptr, 0, 0) <= 0) {
      PostQuitMessage(static_cast<int>(message.wParam));  // leave it for the message loop
      break;
    }
    dispatchUnlessDiscarded(message);
  }
  bringToFront();
}

void TInstallerForm::pauseTimerTimer() {
  KillTimer(window_, PAUSE_TIMER_ID);
  pauseTimerEnabled = false;
}

void TInstallerForm::placeButtons() {
  const ButtonLefts lefts =
      ::placeButtons(widthOf(buttonPanel), widthOf(cancelBtn), widthOf(installBtn), dpi_);
  setLeft(cancelBtn, lefts.cancel);
  setLeft(installBtn, lefts.install);
}

SIZE TInstallerForm::fittedFrameSize() const {
  RECT frame, client;
  GetWindowRect(window_, &frame);
  GetClientRect(window_, &client);
  const int border = (frame.bottom - frame.top) - client.bottom;
  return SIZE{frame.right - frame.left, ::fitClientHeight(licenseShown, dpi_) + border};
}

void TInstallerForm::fitClientHeight() {
  const SIZE size = fittedFrameSize();
  resizeWindow(window_, size.cx, size.cy);
}

// A frame left as it is needs no new frame drawn.
void TInstallerForm::setSizeable(bool sizeable) {
  const LONG before = GetWindowLongA(window_, GWL_STYLE);
  const LONG style = sizeable ? (before | WS_THICKFRAME) : (before & ~WS_THICKFRAME);
  if (style == before) return;
  SetWindowLongA(window_, GWL_STYLE, style);
  SetWindowPos(window_, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TInstallerForm::applyPhase(InstallerPhase phase) {
  const PhaseView view = phaseView(phase);
  showIf(installBtn, view.installVisible);
  EnableWindow(installBtn, view.installEnabled);
  showIf(cancelBtn, view.cancelVisible);
  EnableWindow(cancelBtn, view.cancelEnabled);
  showIf(doneBtn, view.closeVisible);
  if (view.closeVisible) SetFocus(doneBtn);
  showIf(labCopying, view.statusVisible);
}

void TInstallerForm::setProgress(int position) {
  SendMessageA(progressBar, PBM_SETPOS, position, 0);
  UpdateWindow(progressBar);
}

void TInstallerForm::repaint() {
  RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// ---- Event handlers ----

void TInstallerForm::FormResize() {
  if (buttonPanel == nullptr) return;  // during creation
  RECT client;
  GetClientRect(window_, &client);
  const ResizedLayout layout =
      resizeLayout(client.right, client.bottom, widthOf(cancelBtn), widthOf(installBtn), dpi_);
  moveTo(buttonPanel, layout.buttonPanel);
  setLeft(cancelBtn, layout.buttons.cancel);
  setLeft(installBtn, layout.buttons.install);
  moveTo(licenseScrollBox, layout.licenseBox);
}

// The focus is drawn from the start, whether the keyboard or the mouse
// started the installer.
void TInstallerForm::FormShow() {
  showApplicationInTaskBar();
  ShowWindow(window_, SW_SHOWNORMAL);
  SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(window_);
  SendMessageA(window_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
  onActivate(true);
}

// As in a dialog, the window keeps its focused control while another window
// is active; when none is kept (or the kept one is gone from sight) the
// focus goes to the first control in reading order, the licence or
// "Install". A movie that took the focus keeps it.
void TInstallerForm::onActivate(bool active) {
  HWND focus = GetFocus();
  if (!active) {
    if (IsChild(window_, focus)) focused_ = focus;
    return;
  }
  if (IsChild(window_, focus)) return;
  if (focused_ == nullptr || !IsWindowVisible(focused_) || !IsWindowEnabled(focused_))
    focused_ = GetNextDlgTabItem(window_, nullptr, FALSE);
  if (focused_ != nullptr) SetFocus(focused_);
}

void TInstallerForm::bringToFront() const { bringApplicationToFront(window_, preparingWindow_.handle()); }

// Runs once, whichever way the window is closed or the session ends.
void TInstallerForm::FormClose() {
  if (closed_) return;
  closed_ = true;
  if (installerType != QUIET_TYPE) moviePanel1->closeMovie();
  // The panel's control and scratch folder go with the window.
  moviePanel1.reset();
  // The package is open until here; its link can go only once it is closed.
  run_.package.close();
  if (run_.packageLinked) MovePackageLinkAside(run_.plan.installerFile, run_.plan.packagePath);
  releaseWorkFolder(pathWorkFolder);
  deleteFolderTree(pathWorkFolder);
  notifyLauncherClose();
}

void TInstallerForm::closeAndEnd() {
  FormClose();
  DestroyWindow(window_);
}

void TInstallerForm::onMinMaxInfo(MINMAXINFO *limits) const {
  limits->ptMinTrackSize.y = minimumHeight_;
  if (!licenseShown) return;
  limits->ptMinTrackSize.x = scaled(FORM_WIDTH);
  limits->ptMaxTrackSize.x = scaled(FORM_WIDTH);
}

// The window moved to a monitor of another DPI, or the user changed it: the
// layout is made anew at the new DPI in the rectangle the system suggests.
void TInstallerForm::onDpiChanged(int dpi, const RECT &suggested) {
  dpi_ = dpi;
  HFONT previous = font_;
  font_ = createInstallerFont(dpi_);
  placeComponents();
  DeleteObject(previous);
  if (minimumHeight_ != 0)
    minimumHeight_ = licenseShown ? minimumHeightWithLicense(dpi_) : minimumHeightWithoutLicense(dpi_);
  SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  if (minimumHeight_ != 0 && !licenseShown) fitClientHeight();
  FormResize();
}

// A click, or its key: Enter the default button, Esc "Cancel", or "Close"
// once that is the only button.
void TInstallerForm::onCommand(int id) {
  if (id == INSTALL_ID && pressable(installBtn))
    installBtnClick();
  else if (id == CANCEL_ID && pressable(cancelBtn))
    cancelBtnClick();
  else if ((id == DONE_ID || id == CANCEL_ID) && pressable(doneBtn))
    doneBtnClick();
}

// Enter presses the focused button, else the phase's default one.
LRESULT TInstallerForm::defaultButton() const {
  HWND focus = GetFocus();
  for (HWND button : {installBtn, cancelBtn, doneBtn})
    if (focus == button) return MAKELRESULT(GetDlgCtrlID(button), DC_HASDEFID);
  return MAKELRESULT(IsWindowVisible(doneBtn) ? DONE_ID : INSTALL_ID, DC_HASDEFID);
}

LRESULT CALLBACK TInstallerForm::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto *form = static_cast<TInstallerForm *>(reinterpret_cast<CREATESTRUCTA *>(lParam)->lpCreateParams);
    form->window_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    setApplicationMainWindow(window);
  }
  TInstallerForm *form = formOf(window);
  if (form == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  LRESULT result = 0;
  if (form->onEndingMessage(window, message, wParam, result)) return result;
  if (form->onControlMessage(message, wParam, result)) return result;
  switch (message) {
    case WM_CREATE:
      form->FormCreate();
      return 0;
    case WM_SIZE:
      form->FormResize();
      return 0;
    case DPI_CHANGED_MESSAGE:
      form->onDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT *>(lParam));
      return 0;
    case WM_GETMINMAXINFO:
      form->onMinMaxInfo(reinterpret_cast<MINMAXINFO *>(lParam));
      return 0;
    case WM_TIMER:
      if (wParam == PAUSE_TIMER_ID) form->pauseTimerTimer();
      return 0;
    case WM_SETCURSOR:
      if (setBusyCursorIfBusy()) return TRUE;
      return DefWindowProcW(window, message, wParam, lParam);
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

bool TInstallerForm::onControlMessage(UINT message, WPARAM wParam, LRESULT &result) {
  result = 0;
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) onCommand(LOWORD(wParam));
      return true;
    case DM_GETDEFID:
      result = defaultButton();
      return true;
    case WM_ACTIVATE:
      onActivate(LOWORD(wParam) != WA_INACTIVE);
      return true;
    default:
      return false;
  }
}

bool TInstallerForm::onEndingMessage(HWND window, UINT message, WPARAM wParam, LRESULT &result) {
  result = 0;
  switch (message) {
    case WM_CLOSE:
      if (FormCloseQuery()) closeAndEnd();
      return true;
    case WM_QUERYENDSESSION:
      result = FormCloseQuery() ? TRUE : FALSE;
      return true;
    case WM_ENDSESSION:
      // The process ends after this message, without WM_CLOSE; a session
      // ended in spite of a refusal leaves a running sequence alone.
      if (wParam && FormCloseQuery()) FormClose();
      return true;
    case WM_DESTROY:
      setApplicationMainWindow(nullptr);
      SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      PostQuitMessage(0);
      return true;
    default:
      return false;
  }
}

// Panels pass their buttons' clicks on to the form.
LRESULT CALLBACK TInstallerForm::panelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) return SendMessageA(GetAncestor(window, GA_ROOT), message, wParam, lParam);
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK TInstallerForm::pictureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE)
    SetWindowLongPtrA(
        window, GWLP_USERDATA,
        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA *>(lParam)->lpCreateParams));
  if (message != WM_PAINT) return DefWindowProcW(window, message, wParam, lParam);
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT area;
  GetClientRect(window, &area);
  if (TInstallerForm *form = formOf(window)) paintStretched(dc, form->picture_, area);
  EndPaint(window, &paint);
  return 0;
}
