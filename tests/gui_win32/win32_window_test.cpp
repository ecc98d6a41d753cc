// The native window under a real window system (Wine on Xvfb here): controls, captions,
// bindings, the dialogs' buttons from the style number, the Vorschau with its plan box, and
// screenshots of the window and the plan box.
#include "gui_win32/win32_window.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>
#include <tuple>
#include <vector>

#include "app/main_window.h"
#include "app/options.h"
#include "app/program.h"
#include "app/startup.h"
#include "app/stop_gate.h"
#include "gui_win32/plan_box.h"
#include "gui_win32/win32_ui.h"
#include "gui_win32/window_capture.h"
#include "gui_win32/window_fonts.h"
#include "session/session.h"
#include "support/fake_system.h"
#include "support/sample_site.h"
#include "support/scripted_answers.h"

namespace fs = std::filesystem;

namespace quenda {
namespace {

std::string Text(HWND window) {
  char buffer[512];
  return std::string(buffer, static_cast<std::size_t>(GetWindowTextA(window, buffer, 512)));
}

std::string Contents(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ClassOf(HWND window) {
  char buffer[64];
  return std::string(buffer, static_cast<std::size_t>(GetClassNameA(window, buffer, 64)));
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> out;
  EnumChildWindows(
      parent,
      [](HWND w, LPARAM l) {
        reinterpret_cast<std::vector<HWND>*>(l)->push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&out));
  return out;
}

// Handles the messages waiting in the queue: what they cause has happened when it returns.
void HandleWaitingMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// Handles messages until `done` holds, for at most `timeoutMs`; returns whether it holds.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000) {
  const DWORD start = GetTickCount();
  for (;;) {
    HandleWaitingMessages();
    if (done()) return true;
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(10);
  }
}

// True when the window and every control in it have nothing left to paint.
bool Painted(HWND window) {
  if (GetUpdateRect(window, nullptr, FALSE)) return false;
  const auto children = Children(window);
  return std::none_of(children.begin(), children.end(),
                      [](HWND c) { return GetUpdateRect(c, nullptr, FALSE) != FALSE; });
}

// True when a box is ready for input: the active window of its thread, the focus in it,
// and one of its buttons the default button.
bool ReadyForInput(HWND box) {
  GUITHREADINFO thread{};
  thread.cbSize = sizeof thread;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(box, nullptr), &thread)) return false;
  if (thread.hwndActive != box || !IsChild(box, thread.hwndFocus)) return false;
  const auto children = Children(box);
  return std::any_of(children.begin(), children.end(), [](HWND c) {
    return ClassOf(c) == "Button" &&
           (GetWindowLongA(c, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
  });
}

// Waits (on another thread) for a top-level window titled `title` to be ready for input,
// then hands it to `act`. A window that does not get ready within ten seconds is a failure,
// and is handed on all the same, so that it closes.
std::thread OnWindow(const std::string& title, std::function<void(HWND)> act) {
  return std::thread([title, act] {
    const DWORD start = GetTickCount();
    HWND box = nullptr;
    while (GetTickCount() - start < 10000) {
      box = FindWindowA(nullptr, title.c_str());
      if (box != nullptr && IsWindowVisible(box) && ReadyForInput(box)) break;
      Sleep(10);
    }
    if (box == nullptr) {
      ADD_FAILURE() << "no window " << title;
      return;
    }
    if (!ReadyForInput(box)) ADD_FAILURE() << "the window " << title << " is not ready for input";
    act(box);
  });
}

std::string ItemText(HWND list, int row, int column) {
  char buffer[256] = {};
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = buffer;
  item.cchTextMax = sizeof buffer;
  const auto n = SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
  return std::string(buffer, static_cast<std::size_t>(n));
}

// Two computed parameters and one slot, as the load of a job leaves them.
void FillSummary(Session& s) {
  const std::vector<std::array<std::string, 3>> rows = {
      {"DataVersion", "LAST2C={Imp_DataVersion}", "02"},
      {"HwTTNR", "ADDS={Imp_CustomerHWNo}", "0 281 020 471"}};
  for (std::size_t r = 0; r < rows.size(); ++r) {
    s.params.At(static_cast<int>(r), ParamTable::kName) = rows[r][0];
    s.params.At(static_cast<int>(r), ParamTable::kRule) = rows[r][1];
    s.params.At(static_cast<int>(r), ParamTable::kValue) = rows[r][2];
  }
  s.state.izeile = static_cast<int>(rows.size());
  s.spec.At(1) = {"KT_HWNR", "KTX", "1", "STR", "13", "-", "0 281 020 471"};
  s.spec.SpecCount = 1;
}

// What loading the sample job computes: the sample site loaded headless (its dialogs
// answered from the sample's answers), its parameters and slots copied into `s`.
void LoadSampleSummary(Session& s) {
  testing::SampleSite site;
  testing::SampleSession sample(site);
  Session& loaded = sample.S();
  MainWindow window(loaded);
  Main(loaded);
  s.params = loaded.params;
  s.spec = loaded.spec;
  s.state.izeile = loaded.state.izeile;
}

class Win32WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    session = fixture.SessionFor(ui);
    driver = std::make_unique<WindowDriver>(*session, ui);
    model = &driver->model();
    window = std::make_unique<Win32Window>(*driver, ui);
    driver->Attach(*window);
  }

  // In BatchMode with the run log open in `folder`, the window is told that the user's
  // session ends; never returns.
  void EndTheSessionDuringARun(const fs::path& folder) {
    const StopWatch watch(*session);
    session->env.CommandFields = {"job.xml", "4711", "0", "|", "|"};  // BatchMode
    session->env.TempDir = folder.string() + "\\";
    session->state.LaufLogName = "RizaZizi.log";
    session->state.LaufLogFile = session->env.TempDir + "RizaZizi.log";
    session->state.AktDirName = (folder / "run").string() + "\\";
    if (!session->log.OpenHeld(session->files, session->state.LaufLogFile)) std::_Exit(3);
    session->WriteLogLine("erste Zeile");
    if (SendMessageA(window->Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF) != TRUE) {
      std::_Exit(4);
    }
    SendMessageA(window->Handle(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    std::_Exit(5);  // not reached: the end of the session ends the process
  }

  testing::SessionFixture fixture;
  Win32Ui ui;
  std::unique_ptr<Session> session;
  std::unique_ptr<WindowDriver> driver;
  MainWindow* model = nullptr;
  std::unique_ptr<Win32Window> window;

  // The fonts are the system's message font at `dpi`; the controls fill the client area.
  void ExpectLaidOutAt(int dpi);
};

// The font a control was given, as its LOGFONT.
LOGFONTW FontOf(HWND control) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof font, &font);
  return font;
}

Box BoxOf(HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void Win32WindowTest::ExpectLaidOutAt(int dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  ASSERT_TRUE(SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0,
                                         static_cast<UINT>(dpi)));
  EXPECT_EQ(FontOf(window->Text1).lfHeight, metrics.lfMessageFont.lfHeight) << dpi << " DPI";
  EXPECT_EQ(std::wstring(FontOf(window->ParameterList).lfFaceName),
            std::wstring(metrics.lfMessageFont.lfFaceName));
  RECT client{};
  GetClientRect(window->Handle(), &client);
  const int margin = ScaleToDpi(11, dpi);
  const Box slots = BoxOf(window->SlotList);
  EXPECT_EQ(slots.x + slots.width, client.right - margin) << "the lists fill the window";
  EXPECT_EQ(slots.y + slots.height, client.bottom - margin) << "the lists fill the window";
  for (HWND control : Children(window->Handle())) {
    if (GetParent(control) != window->Handle()) continue;
    const Box b = BoxOf(control);
    EXPECT_TRUE(b.x >= 0 && b.y >= 0 && b.x + b.width <= client.right &&
                b.y + b.height <= client.bottom)
        << ClassOf(control) << " " << Text(control) << " at " << dpi << " DPI";
  }
}

TEST_F(Win32WindowTest, ControlsFollowTheWindowsSize) {
  SetWindowPos(window->Handle(), nullptr, 0, 0, 900, 700, SWP_NOZORDER | SWP_NOMOVE);
  const Box log = BoxOf(window->ListOutput);
  const Box text1 = BoxOf(window->Text1);
  SetWindowPos(window->Handle(), nullptr, 0, 0, 1000, 760, SWP_NOZORDER | SWP_NOMOVE);
  EXPECT_EQ(BoxOf(window->Text1).width, text1.width + 100);
  EXPECT_EQ(BoxOf(window->ListOutput).height, log.height + 30) << "half of the new height";
  // The smallest size the user can drag to holds every control, and is smaller than the
  // window opens with.
  MINMAXINFO limits{};
  SendMessageA(window->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  const int dpi = DpiOf(window->Handle());
  EXPECT_GT(limits.ptMinTrackSize.x, ScaleToDpi(11 + 7 + 180 + 75 + 75, dpi));
  EXPECT_GT(limits.ptMinTrackSize.y, ScaleToDpi(80 + 100 + 4 * 23, dpi));
  EXPECT_LT(limits.ptMinTrackSize.x, ScaleToDpi(960, dpi));
  EXPECT_LT(limits.ptMinTrackSize.y, ScaleToDpi(700, dpi));
}

TEST_F(Win32WindowTest, MovingToAMonitorOfAnotherDpiScalesFontsAndLayout) {
  const int dpi = DpiOf(window->Handle());
  const LONG fontHeight = FontOf(window->Text1).lfHeight;
  const int editHeight = BoxOf(window->Text1).height;
  RECT now{};
  GetWindowRect(window->Handle(), &now);
  // The monitor's DPI is half as large again; the size Windows suggests fits the screen.
  RECT suggested{now.left, now.top, now.left + 900, now.top + 700};
  const int newDpi = dpi * 3 / 2;
  SendMessageA(window->Handle(), WM_DPICHANGED, MAKEWPARAM(newDpi, newDpi),
               reinterpret_cast<LPARAM>(&suggested));
  EXPECT_NEAR(FontOf(window->Text1).lfHeight, fontHeight * 3 / 2, 1);
  EXPECT_NEAR(BoxOf(window->Text1).height, editHeight * 3 / 2, 2);
  RECT moved{};
  GetWindowRect(window->Handle(), &moved);
  EXPECT_EQ(moved.right - moved.left, suggested.right - suggested.left);
}

TEST_F(Win32WindowTest, ControlsCarryTheirCaptionsAndDefaults) {
  const std::pair<HWND, std::string> captions[] = {
      {window->Handle(), model->Captions.Caption},
      {window->Label8, model->Captions.Label8},
      {window->Label1, model->Captions.Label1},
      {window->Text1, model->Text1},
      {window->Label4, model->Captions.Label4},
      {window->BatDirectory, model->BatDirectory},
      {window->BatchAuswahl, model->Captions.BatchAuswahl},
      {window->VorschauButton, "&Vorschau"},
      {window->StartButton, model->Captions.StartButton},
      {window->EndeButton, model->Captions.EndeButton},
      {window->AktionText, ""},
  };
  for (const auto& [control, caption] : captions) EXPECT_EQ(Text(control), caption);
  EXPECT_EQ(ClassOf(window->Text1), "Edit");
  EXPECT_EQ(ClassOf(window->ListOutput), "ListBox");
  EXPECT_EQ(SendMessageA(window->BatchAuswahl, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  const auto children = Children(window->Handle());
  EXPECT_EQ(std::count_if(children.begin(), children.end(),
                          [this](HWND c) { return GetParent(c) == window->Handle(); }),
            13)
      << "the eleven controls and the two summary lists";
  const Box vorschau = BoxOf(window->VorschauButton);
  const Box start = BoxOf(window->StartButton);
  EXPECT_EQ(vorschau.y, start.y) << "Vorschau stands beside Start";
  EXPECT_LT(vorschau.x + vorschau.width, start.x);
  EXPECT_LT(BoxOf(window->BatchAuswahl).x + BoxOf(window->BatchAuswahl).width, vorschau.x);
}

TEST_F(Win32WindowTest, EditsAndTheCheckBoxReachTheModelAndTheLogIsShown) {
  SetWindowTextA(window->Text1, "T:\\job.xml");
  SetWindowTextA(window->BatDirectory, "U:\\neu");
  SendMessageA(window->BatchAuswahl, BM_CLICK, 0, 0);
  EXPECT_EQ(model->Text1, "T:\\job.xml");
  EXPECT_EQ(model->BatDirectory, "U:\\neu");
  EXPECT_TRUE(model->BatchAuswahl);
  model->ListOutput = {"eins", "zwei"};
  model->ListIndex = 1;
  model->AktionText = "zwei";
  window->SyncLog();
  EXPECT_EQ(SendMessageA(window->ListOutput, LB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageA(window->ListOutput, LB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(Text(window->AktionText), "zwei");
}

TEST_F(Win32WindowTest, SummaryListsShowTheComputedRows) {
  EXPECT_EQ(SendMessageA(window->ParameterList, LVM_GETITEMCOUNT, 0, 0), 0);
  FillSummary(*session);
  window->SyncSummary();
  ASSERT_EQ(SendMessageA(window->ParameterList, LVM_GETITEMCOUNT, 0, 0), 2);
  const std::tuple<HWND, int, int, std::string> cells[] = {
      {window->ParameterList, 0, 0, "0"},    {window->ParameterList, 0, 1, "DataVersion"},
      {window->ParameterList, 0, 2, ">02<"}, {window->ParameterList, 1, 2, ">0 281 020 471<"},
      {window->SlotList, 0, 0, "1"},         {window->SlotList, 0, 1, "KT_HWNR"},
      {window->SlotList, 0, 2, "KTX"},       {window->SlotList, 0, 4, "13"},
  };
  for (const auto& [list, row, column, text] : cells) {
    EXPECT_EQ(ItemText(list, row, column), text) << "row " << row << " column " << column;
  }
  EXPECT_EQ(SendMessageA(window->SlotList, LVM_GETITEMCOUNT, 0, 0), 1);
  EXPECT_TRUE(GetWindowLongA(window->ParameterList, GWL_STYLE) & LVS_REPORT);
}

TEST_F(Win32WindowTest, TextsAreShownWithTheirAmpersands) {
  for (HWND label : {window->Label8, window->Label1, window->Label4, window->AktionText}) {
    EXPECT_TRUE(GetWindowLongA(label, GWL_STYLE) & SS_NOPREFIX) << Text(label);
  }
}

TEST_F(Win32WindowTest, EnterInATextBoxStartsNothing) {
  const LONG start = GetWindowLongA(window->StartButton, GWL_STYLE) & BS_TYPEMASK;
  EXPECT_NE(start, BS_DEFPUSHBUTTON) << "no default button for Enter to press";
  ShowWindow(window->Handle(), SW_SHOWNORMAL);
  for (HWND box : {window->Text1, window->BatDirectory}) {
    SetFocus(box);
    MSG msg{box, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    IsDialogMessageA(window->Handle(), &msg);
    HandleWaitingMessages();
    EXPECT_EQ(SendMessageA(window->ListOutput, LB_GETCOUNT, 0, 0), 0) << Text(box);
    EXPECT_FALSE(window->Finished()) << Text(box);
  }
}

TEST_F(Win32WindowTest, ShownWindowIsCapturedAsScreenshot) {
  LoadSampleSummary(*session);
  window->SyncSummary();
  ASSERT_GT(SendMessageA(window->ParameterList, LVM_GETITEMCOUNT, 0, 0), 20);
  ASSERT_EQ(SendMessageA(window->SlotList, LVM_GETITEMCOUNT, 0, 0), 20);
  EXPECT_EQ(ItemText(window->SlotList, 0, 1), "KT_HWNR");
  model->ListOutput = {"DAM-S-QUENDA-STARTED V1.00", "Temp-Directory = C:\\Temp\\"};
  window->SyncLog();
  ShowWindow(window->Handle(), SW_SHOWNORMAL);
  SetForegroundWindow(window->Handle());
  UpdateWindow(window->Handle());
  // One screenshot per DPI the prefix is set to (run-on-xvfb.sh runs this at 96 and 144).
  const int dpi = DpiOf(window->Handle());
  const std::string file =
      std::string(QUENDA_ARTIFACTS) + "/win32-window-" + std::to_string(dpi) + "dpi.bmp";
  // The screen shows the window once it is painted and two captures in a row agree.
  CaptureResult shot;
  std::string previous;
  const bool settled = PumpUntil([&] {
    if (!Painted(window->Handle())) return false;
    shot = CaptureWindow(window->Handle(), file);
    const std::string captured = Contents(file);
    const bool same = shot.ok && shot.colours > 2 && captured == previous;
    previous = captured;
    return same;
  });
  ASSERT_TRUE(IsWindowVisible(window->Handle()));
  for (HWND control : Children(window->Handle())) EXPECT_TRUE(IsWindowVisible(control));
  ExpectLaidOutAt(dpi);
  ASSERT_TRUE(shot.ok) << file;
  EXPECT_GT(shot.colours, 2) << "a blank capture has one colour";
  EXPECT_TRUE(settled) << "the screen did not settle on the painted window";
}

TEST_F(Win32WindowTest, MessageBoxTakesTheStyleNumberAsItIs) {
  std::string buttons;
  bool secondIsDefault = false;
  std::thread clicker = OnWindow("Frage", [&](HWND box) {
    for (HWND c : Children(box)) {
      if (ClassOf(c) != "Button") continue;
      buttons += Text(c) + "|";
      const LONG kind = GetWindowLongA(c, GWL_STYLE) & BS_TYPEMASK;
      if (GetDlgCtrlID(c) == IDNO) secondIsDefault = kind == BS_DEFPUSHBUTTON;
    }
    PostMessageA(box, WM_COMMAND, IDNO, 0);
  });
  const Answer answer = ui.MsgBox("Weiter?", 4 + 32 + 256, "Frage");
  clicker.join();
  EXPECT_EQ(answer, Answer::kNo);
  EXPECT_EQ(std::count(buttons.begin(), buttons.end(), '|'), 2) << buttons << " for Yes/No";
  EXPECT_TRUE(secondIsDefault) << "256: the second button is the default";
}

TEST_F(Win32WindowTest, InputBoxGivesTheTypedTextOrEmptyOnCancel) {
  std::string prompt;
  HWND owner = nullptr;
  std::thread typist = OnWindow("Eingabe", [&](HWND box) {
    owner = GetWindow(box, GW_OWNER);
    for (HWND c : Children(box)) {
      if (ClassOf(c) == "Static") prompt = Text(c);
      if (ClassOf(c) == "Edit") SetWindowTextA(c, "P7");
    }
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(ui.InputBox("Kennung?", "Eingabe", "alt"), "P7");
  typist.join();
  EXPECT_EQ(prompt, "Kennung?");
  EXPECT_EQ(owner, window->Handle());
  std::string shownDefault;
  std::thread canceller = OnWindow("Eingabe", [&](HWND box) {
    for (HWND c : Children(box)) {
      if (ClassOf(c) == "Edit") shownDefault = Text(c);
    }
    PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_EQ(ui.InputBox("Kennung?", "Eingabe", "alt"), "");
  canceller.join();
  EXPECT_EQ(shownDefault, "alt");
}

// Logging off or shutting down during a run, BatchMode: the window agrees to the end of
// the session, and at its end the run ends in order as on a stop request: the log line,
// the error file, the log moved, status 130. The run happens in a child process (a death
// test), in a folder that parent and child both know.
TEST_F(Win32WindowTest, TheEndOfTheUsersSessionEndsTheRunInOrder) {
  const fs::path folder = fs::temp_directory_path() / "quenda-end-session-test";
  fs::remove_all(folder);
  fs::create_directories(folder / "run");
  EXPECT_EXIT(EndTheSessionDuringARun(folder), ::testing::ExitedWithCode(130), "");
  EXPECT_EQ(Contents(folder / "run" / "RizaZizi.log"),
            "erste Zeile\r\n!! Abbruch !! Abbruch durch Abmelden/Herunterfahren\r\n");
  EXPECT_EQ(Contents(folder / "SG_4711.err"), "Abbruch durch Abmelden/Herunterfahren\r\n");
  EXPECT_FALSE(fs::exists(folder / "RizaZizi.log"));
  fs::remove_all(folder);
}

TEST_F(Win32WindowTest, InputBoxHoldsItsLongPromptAndIsCentredOnTheWindow) {
  const std::string prompt =
      "Bitte die Nummer des Patches eingeben. Die Patch-Dateien liegen unter "
      "\\\\quenda-fs\\projekte\\003\\Flow\\Transfer\\Patches\\Kunde_012\\"
      "Steuergeraet_0281020471\\Freigabe_2026_12";
  ShowWindow(window->Handle(), SW_SHOWNORMAL);
  RECT shown{}, owner{}, label{};
  Extent needed;
  int line = 0;
  std::thread reader = OnWindow("Patch", [&](HWND box) {
    GetWindowRect(box, &shown);
    GetWindowRect(window->Handle(), &owner);
    for (HWND c : Children(box)) {
      if (ClassOf(c) != "Static") continue;
      // The prompt wrapped as the label wraps it, in the label's font (while it exists).
      GetClientRect(c, &label);
      const auto font = reinterpret_cast<HFONT>(SendMessageA(c, WM_GETFONT, 0, 0));
      needed = MeasureText(c, font, prompt, label.right);
      line = LineHeight(c, font);
    }
    PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
  });
  ui.InputBox(prompt, "Patch", "");
  reader.join();
  EXPECT_NEAR((shown.left + shown.right) / 2, (owner.left + owner.right) / 2, 1);
  EXPECT_NEAR((shown.top + shown.bottom) / 2, (owner.top + owner.bottom) / 2, 1);
  EXPECT_LE(needed.height, label.bottom) << "nothing of the prompt is clipped: " << prompt;
  EXPECT_GT(needed.height, 2 * line) << "the long prompt is wrapped onto several lines";
}

// A Win32Ui whose boxes are answered from a list.
using AnsweringUi = testing::ScriptedAnswers<Win32Ui>;

// The native window on the sample site, loaded with the sample job; its dialogs are
// answered from the sample's answers.
class Win32Vorschau : public ::testing::Test {
 protected:
  void SetUp() override {
    Options options;
    options.programDir = site.Path("site/program");
    ProgramSetup setup = PrepareProgram(options, system);
    session = std::make_unique<Session>(ui, system, std::move(setup.site));
    session->env.ProgramDir = setup.programDir;
    session->env.CommandLineText = testing::SampleSite::SampleCommandLine();
    session->state.AktDirName = site.Path("run") + "/";
    driver = std::make_unique<WindowDriver>(*session, ui);
    window = std::make_unique<Win32Window>(*driver, ui);
    driver->Attach(*window);
    driver->Load();
    ASSERT_FALSE(driver->Finished()) << "loading ended the run";
    window->SyncFromModel();
  }

  testing::SampleSite site;
  testing::FakeSystem system;
  AnsweringUi ui{testing::SampleSite::SampleAnswers()};
  std::unique_ptr<Session> session;
  std::unique_ptr<WindowDriver> driver;
  std::unique_ptr<Win32Window> window;
};

std::wstring WideText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::wstring ClipboardText() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return L"(kein Zugriff auf die Zwischenablage)";
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

// What the plan box showed and did, as a user would see it.
struct PlanBoxSeen {
  std::wstring text;      // of the plan's edit control
  bool readOnly = false;  // and its style
  bool scrollBars = false;
  bool fixedPitch = false;  // the font the text is drawn in
  std::wstring selected;    // after "pLAN: " was searched with Enter
  std::wstring clipboard;   // after Kopieren
  bool closedByEsc = false;
  CaptureResult shot;
};

// Does in the plan box `box` what a user does: reads the text, searches, copies, takes the
// screenshot, and closes the box with Esc.
void UsePlanBox(HWND box, PlanBoxSeen& seen, const std::string& screenshot) {
  HWND text = nullptr, search = nullptr, copy = nullptr;
  for (HWND c : Children(box)) {
    if (ClassOf(c) == "Edit") {
      (GetWindowLongA(c, GWL_STYLE) & ES_MULTILINE ? text : search) = c;
    }
    if (ClassOf(c) == "Button" && Text(c) == "&Kopieren") copy = c;
  }
  if (text == nullptr || search == nullptr || copy == nullptr) {
    ADD_FAILURE() << "the plan box lacks its text, search field or Kopieren";
    PostMessageA(box, WM_CLOSE, 0, 0);
    return;
  }
  seen.text = WideText(text);
  const LONG style = GetWindowLongA(text, GWL_STYLE);
  seen.readOnly = (style & ES_READONLY) != 0;
  seen.scrollBars = (style & WS_VSCROLL) && (style & WS_HSCROLL);
  HDC dc = GetDC(text);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(text, WM_GETFONT, 0, 0)));
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(text, dc);
  seen.fixedPitch = (tm.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0;  // set means variable
  SetWindowTextW(search, L"pLAN: ");
  PostMessageW(search, WM_KEYDOWN, VK_RETURN, 0);
  DWORD start = 0, end = 0;
  PumpUntil(
      [&] {
        SendMessageW(text, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        return end > start;
      },
      5000);
  if (end > start && end <= seen.text.size()) seen.selected = seen.text.substr(start, end - start);
  SendMessageW(box, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(copy), BN_CLICKED),
               reinterpret_cast<LPARAM>(copy));
  seen.clipboard = ClipboardText();
  std::string previous;
  PumpUntil([&] {
    if (!Painted(box)) return false;
    seen.shot = CaptureWindow(box, screenshot);
    const std::string captured = Contents(screenshot);
    const bool same = seen.shot.ok && seen.shot.colours > 2 && captured == previous;
    previous = captured;
    return same;
  });
  PostMessageW(search, WM_KEYDOWN, VK_ESCAPE, 0);
  seen.closedByEsc = PumpUntil([&] { return !IsWindow(box); }, 5000);
  if (!seen.closedByEsc) PostMessageA(box, WM_CLOSE, 0, 0);
}

TEST_F(Win32Vorschau, AltVShowsThePlanAndTheNextStartWritesItWithoutAsking) {
  EXPECT_EQ(ui.asked, 5) << "the load's questions";
  const auto before = site.SiteFiles();
  ShowWindow(window->Handle(), SW_SHOWNORMAL);
  SetForegroundWindow(window->Handle());
  SetFocus(window->Text1);
  PlanBoxSeen seen;
  const std::string screenshot = std::string(QUENDA_ARTIFACTS) + "/win32-vorschau-" +
                                 std::to_string(DpiOf(window->Handle())) + "dpi.bmp";
  HWND owner = nullptr;
  std::thread user = OnWindow("Vorschau", [&](HWND box) {
    owner = GetWindow(box, GW_OWNER);
    UsePlanBox(box, seen, screenshot);
  });
  MSG altV{window->Text1, WM_SYSCHAR, 'v', 1 << 29, 0, {}};  // bit 29: Alt is down
  EXPECT_TRUE(IsDialogMessageA(window->Handle(), &altV));
  user.join();
  HandleWaitingMessages();
  EXPECT_EQ(owner, window->Handle());
  EXPECT_EQ(ui.asked, 7) << "the preview asks Start's questions";
  EXPECT_FALSE(driver->Finished()) << "the preview ended the window's run";
  EXPECT_EQ(site.SiteFiles(), before) << "the preview wrote into the site";
  EXPECT_NE(seen.text.find(L"\r\nPlan: 11 neu, 0 ersetzt, 1 angeh\u00E4ngt, 1 unver\u00E4ndert"),
            std::wstring::npos)
      << "the count line, its umlauts from UTF-8";
  EXPECT_NE(seen.text.find(L"MX21K47_02s.kon\r\n"), std::wstring::npos);
  EXPECT_TRUE(seen.readOnly);
  EXPECT_TRUE(seen.scrollBars);
  EXPECT_TRUE(seen.fixedPitch);
  EXPECT_EQ(seen.selected, L"Plan: ") << "the search ignores the letter case";
  EXPECT_EQ(seen.clipboard, seen.text) << "Kopieren puts the whole text on the clipboard";
  EXPECT_TRUE(seen.closedByEsc);
  EXPECT_TRUE(seen.shot.ok) << screenshot;
  EXPECT_GT(seen.shot.colours, 2) << "a blank capture has one colour";
  EXPECT_TRUE(IsWindowEnabled(window->Handle())) << "the window is usable again";

  SendMessageA(window->StartButton, BM_CLICK, 0, 0);
  EXPECT_EQ(ui.asked, 7) << "Start asked again";
  EXPECT_TRUE(driver->Finished());
  EXPECT_EQ(driver->ExitStatus(), 0);
  EXPECT_EQ(site.Read(std::string(testing::kCustomerFolder) + "MX21K47_02s.kon"),
            testing::ExpectedE2e("road/MX21K47_02s.kon"));
}

TEST(PlanEditText, LinesEndInCrLfAndUtf8BecomesUtf16) {
  const std::pair<std::string, std::wstring> cases[] = {
      {"", L""},
      {"\n", L"\r\n"},  // a line break as the first character
      {"a\nb\n", L"a\r\nb\r\n"},
      {"a\r\nb", L"a\r\nb"},  // CR LF stays one line end
      {"\n\n", L"\r\n\r\n"},
      {"1 unver\xC3\xA4ndert", L"1 unver\u00E4ndert"},
      {"KT_SWNR: >1< \xE2\x86\x92 >2<", L"KT_SWNR: >1< \u2192 >2<"},
      {"a\xFF", L"a\uFFFD"},  // not UTF-8
  };
  for (const auto& [utf8, wide] : cases) EXPECT_EQ(PlanEditText(utf8), wide) << utf8;
}

TEST(FindIgnoringCase, FindsTheNextPlaceAndStartsAgainAtTheEnd) {
  const struct {
    std::wstring text, wanted;
    std::size_t from;
    std::optional<std::size_t> at;
  } cases[] = {
      {L"Plan: 1 neu", L"pLAN", 0, 0},
      {L"ab AB ab", L"AB", 1, 3},
      {L"ab AB ab", L"AB", 3, 3},  // at `from` itself
      {L"ab AB ab", L"AB", 4, 6},
      {L"ab AB ab", L"AB", 7, 0},    // past the last place: from the start again
      {L"ab AB ab", L"AB", 100, 0},  // beyond the text
      {L"xxab", L"AB", 2, 2},        // ending at the text's end
      {L"xxab", L"AB", 3, 2},
      {L"\u00C4nderung", L"\u00E4N", 0, 0},
      {L"abc", L"ABC", 0, 0},              // as long as the text
      {L"abc", L"abcd", 0, std::nullopt},  // one longer
      {L"abc", L"", 0, std::nullopt},
      {L"abc", L"x", 0, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindIgnoringCase(c.text, c.wanted, c.from), c.at)
        << std::string(c.text.begin(), c.text.end()) << " from " << c.from;
  }
}

TEST(CopyToClipboard, PutsTheTextAsUnicode) {
  const std::wstring text = L"Plan: 1 neu\r\n\u00C4 \u2192 \u00DF";
  ASSERT_TRUE(CopyToClipboard(nullptr, text));
  EXPECT_EQ(ClipboardText(), text);
  ASSERT_TRUE(CopyToClipboard(nullptr, L""));
  EXPECT_EQ(ClipboardText(), L"") << "the earlier text is replaced";
}

TEST(OpenFileFilter, PairsAreSeparatedByNulAndEndInTwo) {
  EXPECT_EQ(OpenFileFilter("XML (*.xml)|*.xml|Alle (*.*)|*.*|"),
            std::string("XML (*.xml)\0*.xml\0Alle (*.*)\0*.*\0\0", 34));
  EXPECT_EQ(OpenFileFilter("Text|*.txt"), std::string("Text\0*.txt\0\0", 12));
}

}  // namespace
}  // namespace quenda
