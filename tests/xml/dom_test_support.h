// Shared set-up of the DOMWrapper tests: a session on a temporary folder, a Ui that records
// its message boxes, the FlowData job files under tests/data/xml.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_system.h"
#include "ui/ui.h"
#include "xml/dom_wrapper.h"

namespace quenda::testing {

class RecordingUi : public Ui {
 public:
  struct Box {
    std::string text;
    std::string title;
    int buttons;
  };
  std::vector<Box> boxes;

  void SetBusy(bool) override {}
  void LogLineWritten(const std::string&) override {}
  void LogViewChanged() override {}

  // The texts shown so far, then forgotten.
  std::vector<std::string> TakeTexts() {
    std::vector<std::string> texts;
    for (const Box& box : boxes) texts.push_back(box.text);
    boxes.clear();
    return texts;
  }

 protected:
  Answer ShowMessage(const std::string& text, const MessageStyle& style,
                     const std::string& title) override {
    boxes.push_back({text, title, style.buttons});
    return Answer::kOk;
  }
  std::string ShowInput(const std::string& prompt, const std::string&,
                        const std::string&) override {
    ADD_FAILURE() << "unexpected input box: " << prompt;
    return {};
  }
  std::optional<std::string> ShowOpenFile(const FileDialogRequest&) override {
    ADD_FAILURE() << "unexpected file dialog";
    return std::nullopt;
  }
};

inline const std::string kFlowDataUri = "http://flow.quenda.local/namespace/FlowData";
inline const std::string kFdDeclaration = "xmlns:FD='" + kFlowDataUri + "'";
inline const std::string kNotSet = "Objektvariable oder With-Blockvariable nicht festgelegt";

// Native path of a file under tests/data/xml.
inline std::string XmlData(const std::string& name) {
  return std::string(QUENDA_TEST_DATA) + "/xml/" + name;
}

class DomTest : public ::testing::Test {
 protected:
  SessionFixture fx;
  RecordingUi ui;
  DOMWrapper dom{ui, fx.S().files, kFlowDataUri};

  // Copies a data file into the temporary folder; returns the copy's path.
  std::string CopyOf(const std::string& name) {
    fx.dir.Write(name, fx.S().files.ReadAll(XmlData(name)));
    return fx.dir.File(name);
  }
  // Writes `xml` into the temporary folder; returns its path.
  std::string FileWith(const std::string& name, const std::string& xml) {
    fx.dir.Write(name, xml);
    return fx.dir.File(name);
  }
  // Loads a data file with the FD declaration.
  void LoadData(const std::string& name) { dom.Load(XmlData(name), kFdDeclaration); }
};

// The description of the Error that `call` throws, or "(no error)". Stores its number.
template <class Call>
std::string ErrorText(Call call, int* number = nullptr) {
  try {
    call();
  } catch (const Error& e) {
    if (number != nullptr) *number = e.Number();
    return e.Description();
  }
  return "(no error)";
}

}  // namespace quenda::testing
