// The layout of the native window as arithmetic: sizes at 96, 120, 144 and 192 DPI, the
// minimum sizes, what the log and the lists get when the window grows, the input box and
// the plan box.
#include "gui_win32/window_layout.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace quenda {

std::ostream& operator<<(std::ostream& out, const Box& b) {
  return out << "{" << b.x << "," << b.y << " " << b.width << "x" << b.height << "}";
}

namespace {

// Segoe UI 9 pt as Windows measures it at each DPI, the captions of the window.
TextMetrics MetricsAt(int dpi) {
  TextMetrics m;
  m.dpi = dpi;
  m.textHeight = ScaleToDpi(15, dpi);
  m.titleHeight = ScaleToDpi(23, dpi);
  m.labelWidth = ScaleToDpi(130, dpi);
  m.buttonTextWidth = ScaleToDpi(30, dpi);
  m.checkWidth = ScaleToDpi(180, dpi);
  return m;
}

int Right(const Box& b) { return b.x + b.width; }
int Bottom(const Box& b) { return b.y + b.height; }

std::vector<Box> Boxes(const MainWindowLayout& l) {
  return {l.Label8,       l.Label1,         l.Text1,       l.Label4,     l.BatDirectory,
          l.BatchAuswahl, l.VorschauButton, l.StartButton, l.EndeButton, l.ListOutput,
          l.AktionText,   l.ParameterList,  l.SlotList};
}

TEST(MainWindowLayout, ScalesWithTheDpi) {
  const struct {
    int dpi;
    Box text1, ende;
  } cases[] = {
      {96, {148, 43, 801, 23}, {874, 103, 75, 23}},
      {120, {186, 55, 1000, 29}, {1092, 131, 94, 29}},
      {144, {223, 66, 1200, 35}, {1310, 158, 113, 35}},
      {192, {296, 86, 1602, 46}, {1748, 206, 150, 46}},
  };
  for (const auto& c : cases) {
    const MainWindowLayout l = LayOutMainWindow(InitialClientSize(c.dpi), MetricsAt(c.dpi));
    EXPECT_EQ(l.Text1, c.text1) << c.dpi << " DPI";
    EXPECT_EQ(l.EndeButton, c.ende) << c.dpi << " DPI";
    EXPECT_EQ(Right(l.SlotList), InitialClientSize(c.dpi).width - ScaleToDpi(11, c.dpi));
    EXPECT_EQ(Bottom(l.SlotList), InitialClientSize(c.dpi).height - ScaleToDpi(11, c.dpi));
  }
}

TEST(MainWindowLayout, ControlsStayInsideAndApartAtEveryDpi) {
  for (int dpi : {96, 120, 144, 192}) {
    const TextMetrics m = MetricsAt(dpi);
    for (const Extent client : {MinimumClientSize(m), InitialClientSize(dpi)}) {
      const MainWindowLayout l = LayOutMainWindow(client, m);
      for (const Box& b : Boxes(l)) {
        EXPECT_GE(b.x, 0) << b << " at " << dpi;
        EXPECT_GT(b.width, 0) << b << " at " << dpi;
        EXPECT_GT(b.height, 0) << b << " at " << dpi;
        EXPECT_LE(Right(b), client.width) << b << " at " << dpi;
        EXPECT_LE(Bottom(b), client.height) << b << " at " << dpi;
      }
      EXPECT_LT(Right(l.Label1), l.Text1.x) << dpi;
      EXPECT_LT(Right(l.BatchAuswahl), l.VorschauButton.x) << dpi;
      EXPECT_LT(Right(l.VorschauButton), l.StartButton.x) << dpi;
      EXPECT_LT(Right(l.StartButton), l.EndeButton.x) << dpi;
      EXPECT_EQ(l.VorschauButton.y, l.StartButton.y) << "Vorschau stands beside Start";
      EXPECT_EQ(l.VorschauButton.height, l.StartButton.height) << dpi;
      EXPECT_LT(Bottom(l.BatDirectory), l.StartButton.y) << dpi;
      EXPECT_LT(Bottom(l.ListOutput), l.AktionText.y) << dpi;
      EXPECT_LT(Bottom(l.AktionText), l.ParameterList.y) << dpi;
      EXPECT_LT(Right(l.ParameterList), l.SlotList.x) << dpi;
      EXPECT_EQ(l.BatchAuswahl.width, m.checkWidth) << "the check box caption is not clipped";
    }
  }
}

TEST(MainWindowLayout, MinimumSizeHoldsEveryControlAtItsMinimum) {
  const TextMetrics m = MetricsAt(96);
  const Extent min = MinimumClientSize(m);
  // margins, label, gap, check box, gap, three buttons with gaps between
  EXPECT_EQ(min.width, 11 + 130 + 7 + 180 + 7 + 75 + 7 + 75 + 7 + 75 + 11);
  // title, two text rows, buttons, log 80, status line, lists 100, with their gaps
  EXPECT_EQ(min.height, 11 + 25 + 7 + 2 * (23 + 7) + 23 + 7 + 80 + 7 + 23 + 7 + 100 + 11);
  const MainWindowLayout l = LayOutMainWindow(min, m);
  EXPECT_EQ(l.ListOutput.height, 80);
  EXPECT_EQ(l.ParameterList.height, 100);
  // One pixel less: the controls keep their minimum, nothing shrinks below it.
  const MainWindowLayout under = LayOutMainWindow({min.width - 1, min.height - 1}, m);
  EXPECT_EQ(under.ListOutput, l.ListOutput);
  EXPECT_EQ(under.SlotList, l.SlotList);
}

TEST(MainWindowLayout, WideButtonCaptionsWidenTheButtonsAndTheMinimum) {
  TextMetrics m = MetricsAt(96);
  m.buttonTextWidth = 59;  // 59 + 16 = 75: the standard width still holds
  EXPECT_EQ(LayOutMainWindow(MinimumClientSize(m), m).StartButton.width, 75);
  m.buttonTextWidth = 60;
  EXPECT_EQ(LayOutMainWindow(MinimumClientSize(m), m).StartButton.width, 76);
  EXPECT_EQ(LayOutMainWindow(MinimumClientSize(m), m).VorschauButton.width, 76);
  EXPECT_EQ(MinimumClientSize(m).width, MinimumClientSize(MetricsAt(96)).width + 3);
}

TEST(MainWindowLayout, GrowingWindowGoesToTheLogTheListsAndTheFields) {
  const TextMetrics m = MetricsAt(96);
  const Extent min = MinimumClientSize(m);
  const MainWindowLayout small = LayOutMainWindow(min, m);
  const MainWindowLayout large = LayOutMainWindow({min.width + 300, min.height + 200}, m);
  EXPECT_EQ(large.ListOutput.height, small.ListOutput.height + 100);
  EXPECT_EQ(large.ParameterList.height, small.ParameterList.height + 100);
  EXPECT_EQ(large.Text1.width, small.Text1.width + 300);
  EXPECT_EQ(large.ParameterList.width + large.SlotList.width,
            small.ParameterList.width + small.SlotList.width + 300);
  EXPECT_EQ(large.EndeButton.x, small.EndeButton.x + 300) << "buttons keep to the right";
  EXPECT_EQ(large.Label1, small.Label1) << "the captions stay where they are";
}

TEST(InputBoxLayout, SizedToItsPrompt) {
  const TextMetrics m = MetricsAt(96);
  const struct {
    Extent prompt;
    Extent client;
    Box edit;
  } cases[] = {
      // a short prompt: the minimum width, the buttons' height
      {{60, 15}, {11 + 240 + 7 + 75 + 11, 11 + 53 + 7 + 23 + 11}, {11, 71, 322, 23}},
      // the wrapped patch prompt with its UNC path: four lines, the full wrap width
      {{360, 60}, {11 + 360 + 7 + 75 + 11, 11 + 60 + 7 + 23 + 11}, {11, 78, 442, 23}},
  };
  for (const auto& c : cases) {
    const InputBoxLayout l = LayOutInputBox(c.prompt, m);
    EXPECT_EQ(l.client, c.client) << c.prompt.width << "x" << c.prompt.height;
    EXPECT_EQ(l.edit, c.edit) << c.prompt.width << "x" << c.prompt.height;
    EXPECT_GE(l.prompt.width, c.prompt.width);
    EXPECT_EQ(l.prompt.height, c.prompt.height);
    EXPECT_LT(Right(l.prompt), l.ok.x);
    EXPECT_LT(Bottom(l.cancel), l.edit.y);
  }
  EXPECT_EQ(InputPromptWrapWidth(144), 540);
}

// The plan box with the search caption 45 pixels wide at 96 DPI.
TextMetrics PlanMetricsAt(int dpi) {
  TextMetrics m = MetricsAt(dpi);
  m.labelWidth = ScaleToDpi(45, dpi);
  m.buttonTextWidth = ScaleToDpi(70, dpi);  // "Weitersuchen": wider than the standard button
  return m;
}

std::vector<Box> Boxes(const PlanBoxLayout& l) {
  return {l.searchLabel, l.search, l.next, l.text, l.copy, l.close};
}

TEST(PlanBoxLayout, TextFillsTheBoxBetweenTheSearchRowAndTheButtons) {
  const struct {
    int dpi;
    Box search, next, text, close;
  } cases[] = {
      {96, {63, 11, 733, 23}, {803, 11, 86, 23}, {11, 41, 878, 558}, {803, 606, 86, 23}},
      {144, {96, 17, 1097, 35}, {1204, 17, 129, 35}, {17, 63, 1316, 834}, {1204, 908, 129, 35}},
  };
  for (const auto& c : cases) {
    const Extent client = PlanBoxInitialSize(c.dpi);
    const PlanBoxLayout l = LayOutPlanBox(client, PlanMetricsAt(c.dpi));
    EXPECT_EQ(l.search, c.search) << c.dpi << " DPI";
    EXPECT_EQ(l.next, c.next) << c.dpi << " DPI";
    EXPECT_EQ(l.text, c.text) << c.dpi << " DPI";
    EXPECT_EQ(l.close, c.close) << c.dpi << " DPI";
    EXPECT_EQ(l.copy.x, l.text.x) << "Kopieren at the left";
    EXPECT_EQ(Right(l.close), Right(l.text)) << "Schließen at the right";
  }
}

TEST(PlanBoxLayout, ControlsStayInsideAndApartAtEveryDpi) {
  for (int dpi : {96, 120, 144, 192}) {
    const TextMetrics m = PlanMetricsAt(dpi);
    for (const Extent client : {PlanBoxMinimumSize(m), PlanBoxInitialSize(dpi)}) {
      const PlanBoxLayout l = LayOutPlanBox(client, m);
      for (const Box& b : Boxes(l)) {
        EXPECT_GE(b.x, 0) << b << " at " << dpi;
        EXPECT_GT(b.width, 0) << b << " at " << dpi;
        EXPECT_LE(Right(b), client.width) << b << " at " << dpi;
        EXPECT_LE(Bottom(b), client.height) << b << " at " << dpi;
      }
      EXPECT_LT(Right(l.searchLabel), l.search.x) << dpi;
      EXPECT_LT(Right(l.search), l.next.x) << dpi;
      EXPECT_LT(Bottom(l.next), l.text.y) << dpi;
      EXPECT_LT(Bottom(l.text), l.copy.y) << dpi;
      EXPECT_LT(Right(l.copy), l.close.x) << dpi;
    }
  }
}

TEST(PlanBoxLayout, MinimumSizeKeepsTheSearchFieldAndTheText) {
  const TextMetrics m = PlanMetricsAt(96);
  const Extent min = PlanBoxMinimumSize(m);
  EXPECT_EQ(min, (Extent{11 + 45 + 7 + 120 + 7 + 86 + 11, 11 + 23 + 7 + 100 + 7 + 23 + 11}));
  const PlanBoxLayout l = LayOutPlanBox(min, m);
  EXPECT_EQ(l.search.width, 120);
  EXPECT_EQ(l.text.height, 100);
  const PlanBoxLayout under = LayOutPlanBox({min.width - 1, min.height - 1}, m);
  EXPECT_EQ(under.search, l.search);
  EXPECT_EQ(under.text, l.text);
  EXPECT_EQ(under.close, l.close);
}

TEST(CentreOn, CentresOnTheOwnerInsideTheWorkArea) {
  const Box work{0, 0, 1920, 1040};
  const Box owner{100, 100, 800, 600};
  const struct {
    const Box* owner;
    Extent size;
    Box place;
  } cases[] = {
      {&owner, {400, 200}, {300, 300, 400, 200}},
      {nullptr, {400, 200}, {760, 420, 400, 200}},
      {&work, {1920, 1040}, {0, 0, 1920, 1040}},  // as large as the work area
      {&work, {1921, 1041}, {0, 0, 1921, 1041}},  // larger: top-left stays visible
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CentreOn(c.owner, c.size, work), c.place) << c.size.width << "x" << c.size.height;
  }
  const Box nearEdge{1700, 900, 200, 100};
  EXPECT_EQ(CentreOn(&nearEdge, {400, 300}, work), (Box{1520, 740, 400, 300}));
}

}  // namespace
}  // namespace quenda
