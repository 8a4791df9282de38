// The movie panel under Wine, hosting the Flash control stand-in: what it
// hands the control, how it replaces and releases it, and its scratch folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <memory>

#include "flash/FlashPanel.h"
#include "flashStandInSetup.h"
#include "swfBuilder.h"
#include "testDriver.h"

namespace {

const char HOST_CLASS[] = "FlashPanelTestHost";
const int PANEL_WIDTH = 480, PANEL_HEIGHT = 270;
const uint8_t MOVIE_RED = 0x30, MOVIE_GREEN = 0xA0, MOVIE_BLUE = 0xE0;

bool fileExists(const std::string &path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string readStart(const std::string &path, size_t count) {
  std::ifstream file(path, std::ios::binary);
  std::string bytes(count, '\0');
  file.read(bytes.data(), static_cast<std::streamsize>(count));
  return bytes.substr(0, file.gcount());
}

class FlashPanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(0, registerFlashStandIn(FLASH_STANDIN_DLL));
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    folder_ = std::string(temp) + "flashpanel-test-" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(folder_.c_str(), nullptr);
    logPath_ = folder_ + "control.log";
    DeleteFileA(logPath_.c_str());
    setFlashStandInSetting(FLASH_STANDIN_LOG, logPath_);
    host_ = createHostWindow();
    ASSERT_NE(nullptr, host_);
    panel_.reset(new TFlashPanel(host_));
  }

  void TearDown() override {
    panel_.reset();
    registerFlashStandIn(FLASH_STANDIN_DLL);  // other tests expect player 9
    DestroyWindow(host_);
    setFlashStandInSetting(FLASH_STANDIN_LOG, "");
    setFlashStandInSetting(FLASH_STANDIN_FAIL_CREATIONS, "");
    setFlashStandInSetting(FLASH_STANDIN_FAIL_STOPPLAY, "");
    for (const std::string &name : written_) DeleteFileA(name.c_str());
    DeleteFileA(logPath_.c_str());
    RemoveDirectoryA(folder_.c_str());
  }

  // A top-level window whose client area is the panel's size.
  static HWND createHostWindow() {
    WNDCLASSA hostClass{};
    hostClass.lpfnWndProc = DefWindowProcA;
    hostClass.hInstance = GetModuleHandleA(nullptr);
    hostClass.lpszClassName = HOST_CLASS;
    RegisterClassA(&hostClass);
    RECT frame = {0, 0, PANEL_WIDTH, PANEL_HEIGHT};
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN;
    AdjustWindowRect(&frame, style, FALSE);
    HWND host = CreateWindowExA(0, HOST_CLASS, "Flash panel test", style | WS_VISIBLE, 40, 40,
                                frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    if (host) UpdateWindow(host);
    return host;
  }

  std::string writeMovie(const std::string &name, const Bytes &movie) {
    std::string path = folder_ + name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char *>(movie.data()), static_cast<std::streamsize>(movie.size()));
    written_.push_back(path);
    return path;
  }

  static Bytes movieOfVersion(uint8_t version) {
    return fwsMovie(version, {shortTag(9, {MOVIE_RED, MOVIE_GREEN, MOVIE_BLUE}), endTag()});
  }

  // The control's log with instances numbered from 1 in order of creation,
  // so that the checks hold also when several tests share one process.
  std::vector<std::string> events() const {
    std::map<std::string, int> numbers;
    std::vector<std::string> lines;
    for (const std::string &line : readFlashStandInLog(logPath_)) {
      size_t blank = line.find(' ');
      std::string instance = line.substr(0, blank), event = line.substr(blank + 1);
      if (instance == "#0") {
        lines.push_back(line);
        continue;
      }
      if (!numbers.contains(instance)) numbers[instance] = static_cast<int>(numbers.size()) + 1;
      lines.push_back("#" + std::to_string(numbers[instance]) + " " + event);
    }
    return lines;
  }

  size_t countOf(const std::string &event) const {
    size_t count = 0;
    for (const std::string &line : events()) count += line == event;
    return count;
  }

  static void letWindowsPaint() {
    MSG message;
    for (int round = 0; round < 20; ++round) {
      while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
      Sleep(10);
    }
  }

  std::string folder_, logPath_;
  std::vector<std::string> written_;
  HWND host_ = nullptr;
  std::unique_ptr<TFlashPanel> panel_;
};

TEST_F(FlashPanelTest, PlaysAMovieInOneControlConfiguredToFillThePanel) {
  std::string movie = writeMovie("version8.swf", movieOfVersion(8));
  ASSERT_EQ(0, panel_->playMovie(movie));

  EXPECT_EQ(8, panel_->movieInfo().swfVersion);
  EXPECT_EQ(movie, panel_->swfFilename());
  std::vector<std::string> expected = {"#1 created",
                                       "#1 SetClientSite",
                                       "#1 InitNew",
                                       "#1 DoVerb -5",
                                       "#1 in place 480x270",
                                       "#1 ScaleMode 0",
                                       "#1 SetVariable Align=AlClient",
                                       "#1 WMode Opaque",
                                       "#1 Menu false",
                                       "#1 DoVerb -3",
                                       "#1 Movie " + movie,
                                       "#1 Play",
                                       "#1 DoVerb -1"};
  EXPECT_EQ(expected, events());

  HWND control = panel_->flashControlWindow();
  ASSERT_NE(nullptr, control);
  EXPECT_EQ(panel_->handle(), GetParent(control));
  EXPECT_TRUE(IsWindowVisible(control));
  RECT area;
  GetClientRect(control, &area);
  EXPECT_EQ(PANEL_WIDTH, area.right);
  EXPECT_EQ(PANEL_HEIGHT, area.bottom);

  panel_->focusMovie();
  EXPECT_EQ(control, GetFocus());

  // The screenshot shows the control painting the movie's background colour
  // over the whole panel.
  letWindowsPaint();
  driver::RgbImage shot;
  ASSERT_TRUE(driver::captureWindow(host_, &shot));
  ASSERT_GT(shot.width, 0u);
  EXPECT_TRUE(driver::writePng("flash-panel-playing.png", shot));
  RECT client;
  GetClientRect(host_, &client);
  POINT corner = {2, 2};
  MapWindowPoints(host_, nullptr, &corner, 1);
  RECT frame;
  GetWindowRect(host_, &frame);
  size_t at = 3 * ((corner.y - frame.top) * shot.width + (corner.x - frame.left));
  ASSERT_LT(at + 2, shot.pixels.size());
  EXPECT_EQ(MOVIE_RED, shot.pixels[at]);
  EXPECT_EQ(MOVIE_GREEN, shot.pixels[at + 1]);
  EXPECT_EQ(MOVIE_BLUE, shot.pixels[at + 2]);
}

TEST_F(FlashPanelTest, MovieNewerThanThePlayerIsRefusedBeforeAnyControlIsMade) {
  ASSERT_EQ(0, registerFlashStandIn(FLASH_STANDIN_7_0_19_DLL));
  std::string movie = writeMovie("version8.swf", movieOfVersion(8));
  EXPECT_EQ(FLASH_PANEL_PLAYER_TOO_OLD, panel_->playMovie(movie));
  EXPECT_FALSE(panel_->hasFlashControl());
  EXPECT_EQ(0u, countOf("#1 created"));
  // The refused path is remembered: asking again changes nothing.
  EXPECT_EQ(0, panel_->playMovie(movie));
  EXPECT_FALSE(panel_->hasFlashControl());
  // A bad signature is refused by the reader.
  EXPECT_EQ(SWF_BAD_SIGNATURE, panel_->playMovie(writeMovie("bad.swf", {'X', 'W', 'S', 8, 0, 0, 0, 0})));
  EXPECT_FALSE(panel_->hasFlashControl());
}

TEST_F(FlashPanelTest, CompressedMovieIsReadFromAScratchCopyThatGoesWithThePanel) {
  std::string movie = writeMovie("compressed.swf", cwsMovie(movieOfVersion(8)));
  ASSERT_EQ(0, panel_->playMovie(movie));

  std::string scratch = panel_->scratchFolder();
  ASSERT_FALSE(scratch.empty());
  EXPECT_NE(std::string::npos, scratch.find("\\Lumavane\\FlashPanel"));
  EXPECT_EQ('\\', scratch.back());
  EXPECT_TRUE(fileExists(scratch + COMPRESSED_SWF_SEGMENT_NAME));
  EXPECT_EQ("FWS", readStart(scratch + UNCOMPRESSED_SWF_NAME, 3));
  EXPECT_EQ(8, panel_->movieInfo().swfVersion);
  // The control gets the compressed movie itself.
  EXPECT_EQ(1u, countOf("#1 Movie " + movie));

  panel_.reset();
  EXPECT_FALSE(fileExists(scratch));
  EXPECT_EQ(1u, countOf("#1 destroyed"));
}

TEST_F(FlashPanelTest, MissingMovieIsHandedToTheControlUnread) {
  // A refused compressed movie leaves its copy in the scratch folder; a
  // missing movie played next must not be judged by that copy.
  EXPECT_EQ(FLASH_PANEL_PLAYER_TOO_OLD,
            panel_->playMovie(writeMovie("new.swf", cwsMovie(movieOfVersion(10)))));
  std::string missing = folder_ + "missing.swf";
  EXPECT_EQ(0, panel_->playMovie(missing));
  EXPECT_EQ(0, panel_->movieInfo().swfVersion);
  EXPECT_EQ(1u, countOf("#1 Movie " + missing));
}

TEST_F(FlashPanelTest, SecondMovieStopsAndDestroysTheFirstControlBeforeMakingItsOwn) {
  std::string first = writeMovie("first.swf", movieOfVersion(8));
  std::string second = writeMovie("second.swf", movieOfVersion(9));
  ASSERT_EQ(0, panel_->playMovie(first));
  ASSERT_EQ(0, panel_->playMovie(second));

  std::vector<std::string> log = events();
  auto position = [&log](const std::string &event) {
    return std::find(log.begin(), log.end(), event) - log.begin();
  };
  EXPECT_LT(position("#1 StopPlay"), position("#1 destroyed"));
  EXPECT_LT(position("#1 destroyed"), position("#2 created"));
  EXPECT_LT(position("#2 Movie " + second), static_cast<long>(log.size()));
  EXPECT_EQ(1u, countOf("#2 Play"));
  EXPECT_EQ(0u, countOf("#3 created"));
}

TEST_F(FlashPanelTest, ClosedMovieLeavesABlackPanelAndCanBePlayedAgain) {
  EXPECT_EQ(0, panel_->playMovie(""));
  EXPECT_FALSE(panel_->hasFlashControl());
  EXPECT_EQ(RGB(255, 255, 255), panel_->colour());

  std::string movie = writeMovie("again.swf", movieOfVersion(8));
  ASSERT_EQ(0, panel_->playMovie(movie));
  EXPECT_EQ(0, panel_->playMovie(movie));  // already showing: nothing new
  EXPECT_EQ(0u, countOf("#2 created"));

  panel_->closeMovie();
  EXPECT_FALSE(panel_->hasFlashControl());
  EXPECT_TRUE(panel_->swfFilename().empty());
  EXPECT_EQ(RGB(0, 0, 0), panel_->colour());
  EXPECT_EQ(1u, countOf("#1 destroyed"));

  ASSERT_EQ(0, panel_->playMovie(movie));
  EXPECT_TRUE(panel_->hasFlashControl());
  EXPECT_EQ(1u, countOf("#2 Movie " + movie));
}

TEST_F(FlashPanelTest, CreationIsRetriedUpToTheAttemptCount) {
  setFlashStandInSetting(FLASH_STANDIN_FAIL_CREATIONS, "3");
  EXPECT_EQ(0, panel_->createFlashControl(5));
  EXPECT_EQ(3u, countOf("#0 creation refused"));
  EXPECT_TRUE(panel_->hasFlashControl());
  EXPECT_EQ(0, panel_->releaseFlashControl());

  setFlashStandInSetting(FLASH_STANDIN_FAIL_CREATIONS, "100");
  EXPECT_EQ(FLASH_PANEL_CONTROL_NOT_CREATED, panel_->createFlashControl(5));
  EXPECT_EQ(3u + 5u, countOf("#0 creation refused"));
  EXPECT_FALSE(panel_->hasFlashControl());
}

TEST_F(FlashPanelTest, UnavailableControlRefusesTheMovieAfterAllAttempts) {
  // Every creation fails, as when the control is not registered; the log
  // stays off so that the full count of attempts runs quickly.
  setFlashStandInSetting(FLASH_STANDIN_LOG, "");
  setFlashStandInSetting(FLASH_STANDIN_FAIL_CREATIONS, std::to_string(FLASH_CONTROL_CREATION_ATTEMPTS + 5));
  EXPECT_EQ(FLASH_PANEL_CONTROL_NOT_CREATED,
            panel_->playMovie(writeMovie("lonely.swf", movieOfVersion(8))));
  EXPECT_FALSE(panel_->hasFlashControl());
  // Exactly the full count was used up.
  EXPECT_EQ("5", flashStandInSetting(FLASH_STANDIN_FAIL_CREATIONS));
}

TEST_F(FlashPanelTest, ControlThatWillNotStopIsKept) {
  ASSERT_EQ(0, panel_->playMovie(writeMovie("stubborn.swf", movieOfVersion(8))));
  setFlashStandInSetting(FLASH_STANDIN_FAIL_STOPPLAY, "1");
  EXPECT_EQ(FLASH_PANEL_CONTROL_NOT_RELEASED, panel_->releaseFlashControl());
  EXPECT_TRUE(panel_->hasFlashControl());
  panel_->closeMovie();  // ignores the refusal
  EXPECT_TRUE(panel_->swfFilename().empty());
  EXPECT_TRUE(panel_->hasFlashControl());

  setFlashStandInSetting(FLASH_STANDIN_FAIL_STOPPLAY, "");
  EXPECT_EQ(0, panel_->releaseFlashControl());
  EXPECT_FALSE(panel_->hasFlashControl());
  EXPECT_EQ(1u, countOf("#1 destroyed"));
}

}  // namespace
