// Where the controls of the main window, the input box and the plan box go, as plain
// arithmetic: all distances are in units of 1/96 inch and scaled to the window's DPI; the
// text sizes come in measured with the window's font. No Windows types, so the layout is tested
// anywhere.
#pragma once

namespace quenda {

struct Box {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const Box&) const = default;
};

struct Extent {
  int width = 0;
  int height = 0;
  bool operator==(const Extent&) const = default;
};

// `units` (1/96 inch) in pixels at `dpi`, rounded to the nearest pixel.
int ScaleToDpi(int units, int dpi);

// What the layout needs to know of the font, in pixels at the window's DPI.
struct TextMetrics {
  int dpi = 96;
  int textHeight = 0;       // one line of the message font
  int titleHeight = 0;      // one line of the title font (Label8)
  int labelWidth = 0;       // the wider caption of Label1 and Label4
  int buttonTextWidth = 0;  // the widest button caption
  int checkWidth = 0;       // the check box with its caption
};

struct MainWindowLayout {
  Box Label8, Label1, Text1, Label4, BatDirectory, BatchAuswahl, VorschauButton, StartButton,
      EndeButton, ListOutput, AktionText, ParameterList, SlotList;
};

// The controls in a client area of `client` pixels: the title and the two text rows at the
// top, the buttons (Vorschau, Start, Ende) at the right; the log and the two summary lists share
// the rest of the height, the lists side by side. Below MinimumClientSize the controls keep their
// minimum sizes and run past the client area (never a negative size).
MainWindowLayout LayOutMainWindow(Extent client, const TextMetrics& m);

// The smallest client area in which nothing is clipped or overlaps.
Extent MinimumClientSize(const TextMetrics& m);

// The client area the window opens with (before it is fitted to the screen).
Extent InitialClientSize(int dpi);

// The input box: the prompt above the text field, OK and Abbrechen at the right.
struct InputBoxLayout {
  Extent client;
  Box prompt, edit, ok, cancel;
};

// The width the prompt is wrapped at, in pixels at `dpi`.
int InputPromptWrapWidth(int dpi);

// The box for a prompt that measures `prompt` (wrapped at InputPromptWrapWidth).
InputBoxLayout LayOutInputBox(Extent prompt, const TextMetrics& m);

// The plan box of the Vorschau: the search row (its caption, the field, Weitersuchen) at the
// top, the plan's text filling the middle, Kopieren at the left and Schließen at the right
// of the bottom row. `m.labelWidth` is the search caption's width, `m.buttonTextWidth` the
// widest button caption. Below PlanBoxMinimumSize the controls keep their minimum sizes.
struct PlanBoxLayout {
  Box searchLabel, search, next, text, copy, close;
};
PlanBoxLayout LayOutPlanBox(Extent client, const TextMetrics& m);
Extent PlanBoxMinimumSize(const TextMetrics& m);
// The client area the plan box opens with (before it is fitted to the screen).
Extent PlanBoxInitialSize(int dpi);

// The place of a window of `size` centred on `owner`, kept inside `workArea`
// (the owner's monitor); without an owner, centred on `workArea`.
Box CentreOn(const Box* owner, Extent size, const Box& workArea);

}  // namespace quenda
