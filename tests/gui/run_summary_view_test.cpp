// The summary tables help checking before Start: full texts on hover, empty values marked,
// a filter over both tables, copy of the selected cells as tab-separated text, Tab out of
// a table, and column widths kept for the next start.
#include "gui/run_summary_view.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

#include "app/run_summary.h"
#include "gui/summary_table.h"
#include "gui/window_layout.h"

// Failed assertions show Qt texts as text.
inline void PrintTo(const QString& text, std::ostream* os) { *os << text.toStdString(); }

namespace quenda {
namespace {

RunSummary Sample() {
  RunSummary summary;
  summary.parameters = {{0, "JobNumber", "ADDS={Job}", "4711", "Auftragsnummer"},
                        {1, "Lambda", "ADDS={Kennlinie}", "0A 14", "Lambda-Kennlinie"},
                        {2, "Leer", "none", "", "Wert mit \"Tab\"\tdarin"},
                        {3, "Html", "ADDS='<b>x</b>'", "<b>x</b>", "Spitze Klammern"}};
  summary.specSlots = {{1, "KT_HWNR", "", "", "", "-", "0 281"},
                       {7, "FK_LAMBDA", "", "HEX", "", "00000000", "0A 14"}};
  return summary;
}

int ShownRows(const QTableWidget& table) {
  int shown = 0;
  for (int r = 0; r < table.rowCount(); ++r) shown += table.isRowHidden(r) ? 0 : 1;
  return shown;
}

TEST(RunSummaryView, EveryCellShowsItsFullTextOnHoverAndEmptyValuesAreMarked) {
  RunSummaryView view;
  view.Show(Sample());
  QTableWidget& params = *view.Parameters;
  for (int r = 0; r < params.rowCount(); ++r) {
    for (int c = 0; c < params.columnCount(); ++c) {
      const QTableWidgetItem* item = params.item(r, c);
      ASSERT_NE(item, nullptr) << r << "," << c;
      if (item->text() == EmptyValueText()) continue;
      const QString tip = item->toolTip();
      EXPECT_TRUE(tip == item->text() || tip.contains(item->text().toHtmlEscaped()))
          << item->text().toStdString() << " has " << item->toolTip().toStdString();
    }
  }
  EXPECT_EQ(params.item(1, 4)->toolTip(), "ADDS={Kennlinie}") << "plain text as it is";
  EXPECT_EQ(params.item(3, 4)->toolTip(),
            "<p style='white-space:pre'>ADDS='&lt;b&gt;x&lt;/b&gt;'</p>")
      << "what Qt would take for markup is escaped";
  const QTableWidgetItem* empty = params.item(2, 2);
  EXPECT_EQ(empty->text(), "><");
  EXPECT_EQ(empty->toolTip(), "Der Wert ist leer.");
  EXPECT_NE(empty->background(), params.item(1, 2)->background()) << "the empty value stands out";
  EXPECT_EQ(params.item(1, 3)->text(), "Lambda-Kennlinie") << "the Description column";
  FillSummaryTable(params, {{"Wert"}, {{"x"}, {std::string(81, 'a')}, {std::string(80, 'b')}}});
  EXPECT_EQ(params.item(1, 0)->toolTip(),
            "<p style='white-space:pre-wrap'>" + QString(81, 'a') + "</p>")
      << "a long text wraps";
  EXPECT_EQ(params.item(2, 0)->toolTip(), QString(80, 'b')) << "80 characters stay one line";
}

TEST(RunSummaryView, TheFilterNarrowsBothTablesIgnoringCase) {
  RunSummaryView view;
  view.Show(Sample());
  struct Case {
    const char* filter;
    int parameters;
    int slotRows;
  } cases[] = {{"", 4, 2},
               {"lambda", 1, 1},
               {"LAMBDA", 1, 1},
               {"0a 14", 1, 1},
               {"><", 2, 0} /* the empty value and "><b>x</b><" */,
               {"kt_hwnr", 0, 1},
               {"gibt es nicht", 0, 0}};
  for (const Case& c : cases) {
    view.Filter->setText(c.filter);
    EXPECT_EQ(ShownRows(*view.Parameters), c.parameters) << c.filter;
    EXPECT_EQ(ShownRows(*view.Slots), c.slotRows) << c.filter;
  }
  view.Filter->setText("lambda");
  view.Show(Sample());
  EXPECT_EQ(ShownRows(*view.Parameters), 1) << "a refreshed table keeps the filter";
}

TEST(RunSummaryView, SelectedCellsAreCopiedAsTabSeparatedText) {
  RunSummaryView view;
  view.Show(Sample());
  QTableWidget& params = *view.Parameters;
  EXPECT_EQ(SelectedCellsAsTsv(params), "");
  params.setRangeSelected(QTableWidgetSelectionRange(0, 1, 1, 2), true);
  EXPECT_EQ(SelectedCellsAsTsv(params), "JobNumber\t>4711<\nLambda\t>0A 14<\n");
  params.clearSelection();
  params.setRangeSelected(QTableWidgetSelectionRange(1, 1, 1, 1), true);
  params.setRangeSelected(QTableWidgetSelectionRange(2, 3, 2, 3), true);
  EXPECT_EQ(SelectedCellsAsTsv(params), "Lambda\t\n\t\"Wert mit \"\"Tab\"\"\tdarin\"\n")
      << "cells not selected stay empty, a tab or quote is quoted";
  view.Filter->setText("Tab");
  EXPECT_EQ(SelectedCellsAsTsv(params), "\"Wert mit \"\"Tab\"\"\tdarin\"\n")
      << "rows the filter hides are not copied";
  view.Filter->clear();

  params.clearSelection();
  params.setRangeSelected(QTableWidgetSelectionRange(0, 0, 0, 1), true);
  QApplication::clipboard()->clear();
  view.show();
  QApplication::setActiveWindow(&view);
  params.setFocus();
  QTest::keyClick(&params, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), "0\tJobNumber\n") << "Ctrl+C";

  params.setRangeSelected(QTableWidgetSelectionRange(1, 0, 1, 0), true);
  const QList<QAction*> actions = params.actions();
  ASSERT_EQ(actions.size(), 1);
  EXPECT_EQ(actions[0]->text(), "&Kopieren");
  EXPECT_EQ(params.contextMenuPolicy(), Qt::ActionsContextMenu) << "the action is the menu";
  actions[0]->trigger();
  EXPECT_EQ(QApplication::clipboard()->text(), "0\tJobNumber\n1\t\n") << "context menu";
}

TEST(RunSummaryView, TabLeavesATable) {
  RunSummaryView view;
  view.Show(Sample());
  view.show();
  QApplication::setActiveWindow(&view);
  view.Parameters->setFocus();
  QApplication::processEvents();
  ASSERT_TRUE(view.Parameters->hasFocus());
  QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
  QApplication::sendEvent(view.Parameters, &tab);
  QApplication::processEvents();
  EXPECT_FALSE(view.Parameters->hasFocus());
  EXPECT_FALSE(view.Parameters->tabKeyNavigation());
}

TEST(RunSummaryView, ColumnWidthsAreKeptForTheNextStart) {
  WindowSettings settings;
  settings.clear();
  {
    RunSummaryView view;
    view.Show(Sample());
    view.Parameters->setColumnWidth(1, 211);
    view.Slots->setColumnWidth(5, 77);
    view.SaveLayout(settings);
  }
  RunSummaryView next;
  next.RestoreLayout(settings);
  next.Show(Sample());
  EXPECT_EQ(next.Parameters->columnWidth(1), 211);
  EXPECT_EQ(next.Slots->columnWidth(5), 77) << "not sized again from the contents";
  settings.clear();
}

}  // namespace
}  // namespace quenda
