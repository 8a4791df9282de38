#include "flash/FlashPanel.h"

#include "common/QRX_FileUtils.h"
#include "common/logFile.h"
#include "common/workFolder.h"
#include "flash/QRX_FlashUtils.h"

namespace {

const char PANEL_CLASS[] = "TFlashPanel";
const COLORREF WHITE = RGB(255, 255, 255);
const COLORREF BLACK = RGB(0, 0, 0);

int32_t makePanelScratchFolder(std::string &folder) { return createNumberedFolder("FlashPanel", folder); }

// Handles one waiting window message the way the message loop would, so that
// the control's departure can be painted over.
void processOnePendingMessage() {
  MSG message;
  if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) return;
  if (message.message == WM_QUIT) {
    PostQuitMessage(static_cast<int>(message.wParam));  // leave it for the loop
    return;
  }
  TranslateMessage(&message);
  DispatchMessageA(&message);
}

}  // namespace

TFlashPanel::TFlashPanel(HWND parent) : colour_(WHITE) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA panelClass{};
  if (!GetClassInfoA(instance, PANEL_CLASS, &panelClass)) {
    panelClass.lpfnWndProc = windowProc;
    panelClass.hInstance = instance;
    panelClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    panelClass.lpszClassName = PANEL_CLASS;
    RegisterClassA(&panelClass);
  }
  RECT client = {0, 0, 0, 0};
  GetClientRect(parent, &client);
  window_ = CreateWindowExA(0, PANEL_CLASS, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, client.right,
                            client.bottom, parent, nullptr, instance, this);
}

// The control leaves while the panel window, its parent, still exists, so
// that it can leave its in-place activation cleanly.
TFlashPanel::~TFlashPanel() {
  TraceScope trace("TFlashPanel.Destroy");
  if (window_) SetWindowPos(window_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  flashControl_.reset();
  if (!scratchFolder_.empty()) {
    releaseWorkFolder(scratchFolder_);
    deleteFolderTree(scratchFolder_);
  }
  if (window_ && IsWindow(window_)) {
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
}

LRESULT CALLBACK TFlashPanel::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto *creation = reinterpret_cast<CREATESTRUCTA *>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  }
  auto *panel = reinterpret_cast<TFlashPanel *>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (message == WM_ERASEBKGND) return 1;  // painted whole in WM_PAINT
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    HBRUSH brush = CreateSolidBrush(panel ? panel->colour_ : WHITE);
    FillRect(dc, &paint.rcPaint, brush);
    DeleteObject(brush);
    EndPaint(window, &paint);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

int32_t TFlashPanel::playMovie(const std::string &path) {
  TraceScope trace("playMovie", path);
  if (path.empty() || path == swfFilename_) {
    return trace.result(0);
  }
  swfFilename_ = path;
  int32_t status = readMovie();
  if (status == 0) status = checkFlashPlayerVersion();
  if (status == 0) {
    releaseFlashControl();  // a control that would not stop keeps playing and takes the new movie
    status = createFlashControl();
  }
  if (status == 0) loadAndPlayMovie();
  return trace.result(status);
}

// A compressed movie is read through its uncompressed copy; the control is
// still given the movie itself. Nothing of the previous movie is kept: for a
// missing file it would send the reader to the previous movie's copy. A movie
// the reader gives up on (SWF_UNREADABLE) is one that cannot be played.
int32_t TFlashPanel::readMovie() {
  movieInfo_ = SwfMovieInfo();
  int32_t status = readSWFFileFormatType(swfFilename_, movieInfo_);
  if (status != 0) return status;
  if (movieInfo_.formatSignature == "FWS") return readSWFFile_FWS_Format(swfFilename_, movieInfo_);
  if (movieInfo_.formatSignature == "CWS") {
    status = inflateSWFFileToTempFile(swfFilename_, scratchFolder_, makePanelScratchFolder);
    if (status == 0) status = readSWFFile_FWS_Format(scratchFolder_ + UNCOMPRESSED_SWF_NAME, movieInfo_);
  }
  return status;
}

void TFlashPanel::closeMovie() {
  TraceScope trace("closeMovie");
  releaseFlashControl();
  setColour(BLACK);
  swfFilename_.clear();
}

void TFlashPanel::focusMovie() {
  if (!IsWindowVisible(window_) || !flashControl_) return;
  InvalidateRect(window_, nullptr, TRUE);
  SetFocus(window_);
  HWND control = flashControlWindow();
  if (control) SetFocus(control);
}

int32_t TFlashPanel::checkFlashPlayerVersion() const {
  TraceScope trace("checkFlashPlayerVersion");
  FlashPlayerVersion player = getFlashPlayerVersion(MOVIE_PANEL_FLASH_PROBES);
  int32_t status = flashPlayerVersionStatus(player.found, player.major, movieInfo_.swfVersion);
  return trace.result(status);
}

int32_t TFlashPanel::releaseFlashControl() {
  TraceScope trace("releaseFlashControl");
  int32_t status = 0;
  if (flashControl_) {
    if (FAILED(flashControl_->stopPlay())) {
      status = FLASH_PANEL_CONTROL_NOT_RELEASED;
    } else {
      flashControl_.reset();
      processOnePendingMessage();
    }
  }
  return trace.result(status);
}

int32_t TFlashPanel::createFlashControl(int32_t attempts) {
  TraceScope trace("createFlashControl");
  for (int32_t attempt = 0; !flashControl_ && attempt < attempts; ++attempt) {
    std::unique_ptr<TShockwaveFlash> control(new TShockwaveFlash);
    if (FAILED(control->create())) continue;
    flashControl_ = std::move(control);
    configureFlashControl();
  }
  int32_t status = flashControl_ ? 0 : FLASH_PANEL_CONTROL_NOT_CREATED;
  return trace.result(status);
}

// Fills the panel with the control. The first failure ends the configuration
// and the control stays as it is.
void TFlashPanel::configureFlashControl() {
  RECT client = {0, 0, 0, 0};
  GetClientRect(window_, &client);
  HRESULT result = flashControl_->placeInWindow(window_, client.right, client.bottom);
  if (SUCCEEDED(result)) result = flashControl_->setScaleMode(0);
  if (SUCCEEDED(result)) result = flashControl_->setVariable("Align", "AlClient");
  if (SUCCEEDED(result)) result = flashControl_->setWMode("Opaque");
  if (SUCCEEDED(result)) flashControl_->setMenu(false);
}

// Hidden while the movie loads, so its first frame appears whole.
void TFlashPanel::loadAndPlayMovie() {
  TraceScope trace("loadAndPlayMovie");
  flashControl_->doVerb(OLEIVERB_HIDE);
  flashControl_->setMovie(swfFilename_);
  flashControl_->play();
  flashControl_->doVerb(OLEIVERB_SHOW);
}

HWND TFlashPanel::flashControlWindow() const { return flashControl_ ? flashControl_->window() : nullptr; }

void TFlashPanel::setColour(COLORREF colour) {
  colour_ = colour;
  InvalidateRect(window_, nullptr, TRUE);
}
