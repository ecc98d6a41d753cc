#include "gui_win32/window_layout.h"

#include <algorithm>

namespace quenda {
namespace {

// Distances in 1/96 inch, as the Windows guidelines space dialogs.
constexpr int kMargin = 11;
constexpr int kGap = 7;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonPadding = 16;
constexpr int kEditPadding = 8;
constexpr int kMinEditWidth = 240;
constexpr int kMinLogHeight = 80;
constexpr int kMinListHeight = 100;
constexpr int kInitialWidth = 960;
constexpr int kInitialHeight = 700;
constexpr int kPromptWrap = 360;
constexpr int kMinPromptWidth = 240;
constexpr int kPlanWidth = 900;
constexpr int kPlanHeight = 640;
constexpr int kMinSearchWidth = 120;
constexpr int kMinPlanTextHeight = 100;

// The sizes every layout derives from the font, in pixels.
struct Sizes {
  int margin, gap, edit, button, buttonWidth, title;
};

Sizes SizesOf(const TextMetrics& m) {
  const int dpi = m.dpi;
  return {
      ScaleToDpi(kMargin, dpi),
      ScaleToDpi(kGap, dpi),
      m.textHeight + ScaleToDpi(kEditPadding, dpi),
      std::max(ScaleToDpi(kButtonHeight, dpi), m.textHeight + ScaleToDpi(kEditPadding, dpi)),
      std::max(ScaleToDpi(kButtonWidth, dpi), m.buttonTextWidth + ScaleToDpi(kButtonPadding, dpi)),
      m.titleHeight + ScaleToDpi(2, dpi)};
}

// The height of the top part: title, the two text rows, the row of the check box and the
// buttons, each followed by a gap.
int TopHeight(const Sizes& s) {
  return s.margin + s.title + s.gap + 2 * (s.edit + s.gap) + s.button + s.gap;
}

// A caption beside a text field of height `row`: centred on the field's text line.
Box LabelBeside(int x, int y, int width, int row, const TextMetrics& m) {
  return {x, y + (row - m.textHeight) / 2, width, m.textHeight};
}

}  // namespace

int ScaleToDpi(int units, int dpi) { return (units * dpi + 48) / 96; }

Extent MinimumClientSize(const TextMetrics& m) {
  const Sizes s = SizesOf(m);
  const int controls = std::max(ScaleToDpi(kMinEditWidth, m.dpi),
                                m.checkWidth + s.gap + 3 * s.buttonWidth + 2 * s.gap);
  const int width = 2 * s.margin + m.labelWidth + s.gap + controls;
  const int bottom = ScaleToDpi(kMinLogHeight, m.dpi) + s.gap + s.edit + s.gap +
                     ScaleToDpi(kMinListHeight, m.dpi) + s.margin;
  return {width, TopHeight(s) + bottom};
}

Extent InitialClientSize(int dpi) {
  return {ScaleToDpi(kInitialWidth, dpi), ScaleToDpi(kInitialHeight, dpi)};
}

MainWindowLayout LayOutMainWindow(Extent client, const TextMetrics& m) {
  const Sizes s = SizesOf(m);
  const Extent min = MinimumClientSize(m);
  const int width = std::max(client.width, min.width);
  const int height = std::max(client.height, min.height);
  const int inner = width - 2 * s.margin;
  const int fieldX = s.margin + m.labelWidth + s.gap;
  const int fieldWidth = width - s.margin - fieldX;
  MainWindowLayout l;
  int y = s.margin;
  l.Label8 = {s.margin, y, inner, s.title};
  y += s.title + s.gap;
  l.Label1 = LabelBeside(s.margin, y, m.labelWidth, s.edit, m);
  l.Text1 = {fieldX, y, fieldWidth, s.edit};
  y += s.edit + s.gap;
  l.Label4 = LabelBeside(s.margin, y, m.labelWidth, s.edit, m);
  l.BatDirectory = {fieldX, y, fieldWidth, s.edit};
  y += s.edit + s.gap;
  l.EndeButton = {width - s.margin - s.buttonWidth, y, s.buttonWidth, s.button};
  l.StartButton = {l.EndeButton.x - s.gap - s.buttonWidth, y, s.buttonWidth, s.button};
  l.VorschauButton = {l.StartButton.x - s.gap - s.buttonWidth, y, s.buttonWidth, s.button};
  l.BatchAuswahl = {fieldX, y, std::min(m.checkWidth, l.VorschauButton.x - s.gap - fieldX),
                    s.button};
  y += s.button + s.gap;
  // The log and the lists share what is left, half each beyond their minimums.
  const int minLog = ScaleToDpi(kMinLogHeight, m.dpi);
  const int minLists = ScaleToDpi(kMinListHeight, m.dpi);
  const int spare = height - y - s.gap - s.edit - s.gap - s.margin - minLog - minLists;
  const int logHeight = minLog + spare / 2;
  l.ListOutput = {s.margin, y, inner, logHeight};
  y += logHeight + s.gap;
  l.AktionText = {s.margin, y, inner, s.edit};
  y += s.edit + s.gap;
  const int listHeight = height - s.margin - y;
  const int leftWidth = (inner - s.gap) / 2;
  l.ParameterList = {s.margin, y, leftWidth, listHeight};
  l.SlotList = {s.margin + leftWidth + s.gap, y, inner - leftWidth - s.gap, listHeight};
  return l;
}

int InputPromptWrapWidth(int dpi) { return ScaleToDpi(kPromptWrap, dpi); }

InputBoxLayout LayOutInputBox(Extent prompt, const TextMetrics& m) {
  const Sizes s = SizesOf(m);
  const int promptWidth = std::max(prompt.width, ScaleToDpi(kMinPromptWidth, m.dpi));
  const int buttonsHeight = 2 * s.button + s.gap;
  InputBoxLayout l;
  l.prompt = {s.margin, s.margin, promptWidth, prompt.height};
  const int buttonX = s.margin + promptWidth + s.gap;
  l.ok = {buttonX, s.margin, s.buttonWidth, s.button};
  l.cancel = {buttonX, s.margin + s.button + s.gap, s.buttonWidth, s.button};
  const int editY = s.margin + std::max(prompt.height, buttonsHeight) + s.gap;
  const int width = buttonX + s.buttonWidth + s.margin;
  l.edit = {s.margin, editY, width - 2 * s.margin, s.edit};
  l.client = {width, editY + s.edit + s.margin};
  return l;
}

Extent PlanBoxMinimumSize(const TextMetrics& m) {
  const Sizes s = SizesOf(m);
  const int searchRow =
      m.labelWidth + s.gap + ScaleToDpi(kMinSearchWidth, m.dpi) + s.gap + s.buttonWidth;
  const int width = 2 * s.margin + std::max(searchRow, 2 * s.buttonWidth + s.gap);
  const int height =
      2 * s.margin + 2 * s.button + 2 * s.gap + ScaleToDpi(kMinPlanTextHeight, m.dpi);
  return {width, height};
}

Extent PlanBoxInitialSize(int dpi) {
  return {ScaleToDpi(kPlanWidth, dpi), ScaleToDpi(kPlanHeight, dpi)};
}

PlanBoxLayout LayOutPlanBox(Extent client, const TextMetrics& m) {
  const Sizes s = SizesOf(m);
  const Extent min = PlanBoxMinimumSize(m);
  const int width = std::max(client.width, min.width);
  const int height = std::max(client.height, min.height);
  const int right = width - s.margin - s.buttonWidth;
  PlanBoxLayout l;
  l.searchLabel = LabelBeside(s.margin, s.margin, m.labelWidth, s.button, m);
  const int searchX = s.margin + m.labelWidth + s.gap;
  l.search = {searchX, s.margin + (s.button - s.edit) / 2, right - s.gap - searchX, s.edit};
  l.next = {right, s.margin, s.buttonWidth, s.button};
  const int textY = s.margin + s.button + s.gap;
  const int bottomY = height - s.margin - s.button;
  l.text = {s.margin, textY, width - 2 * s.margin, bottomY - s.gap - textY};
  l.copy = {s.margin, bottomY, s.buttonWidth, s.button};
  l.close = {right, bottomY, s.buttonWidth, s.button};
  return l;
}

Box CentreOn(const Box* owner, Extent size, const Box& workArea) {
  const Box& around = owner != nullptr ? *owner : workArea;
  int x = around.x + (around.width - size.width) / 2;
  int y = around.y + (around.height - size.height) / 2;
  // Inside the work area; a box larger than it keeps its top-left corner visible.
  x = std::max(workArea.x, std::min(x, workArea.x + workArea.width - size.width));
  y = std::max(workArea.y, std::min(y, workArea.y + workArea.height - size.height));
  return {x, y, size.width, size.height};
}

}  // namespace quenda
