#pragma once

#include <QDialog>
#include <QPrinter>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

#include "core/base/Result.h"
#include "core/base/UiText.h"
#include "core/base/UserPrompts.h"
#include "ui/print/PrintOutcome.h"

class QComboBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace termika {

// What both print dialogs share: the printer list, the printer's own
// dialog, printing, "Save as PDF" and cancel. The job is read only when the
// user starts it.
class PrintDialogBase : public QDialog {
  Q_OBJECT

 public:
  // Reads the data to print; `allRows` is the dump dialog's print range.
  using Prepare = std::function<Result<PagePainter>(bool allRows)>;

  struct Setup {
    const UiText* texts = nullptr;
    UserPrompts* prompts = nullptr;
    Prepare prepare;
    QStringList printers;    // installed printers
    QString defaultPrinter;  // shown first when installed
    QString proposedPdfName;
    bool rowsSelected = false;  // the dump list has rows selected
  };

  // The dialog's controls; the dump dialog adds its print range.
  struct Controls {
    QGroupBox* printerFrame = nullptr;
    QComboBox* printerCombo = nullptr;
    QPushButton* propertiesButton = nullptr;
    QPushButton* printButton = nullptr;
    QPushButton* pdfButton = nullptr;
    QPushButton* cancelButton = nullptr;
    QGroupBox* rangeFrame = nullptr;
    QRadioButton* allRowsRadio = nullptr;
    QRadioButton* selectedRowsRadio = nullptr;
  };

  ~PrintDialogBase() override;

  const Controls& controls() const { return m_ui; }

  // Set once a print or PDF has been written completely.
  const std::optional<PrintOutcome>& outcome() const { return m_outcome; }
  QPrinter& printer() { return *m_printer; }
  // The printer picked in the list (empty when none is installed).
  const QString& chosenPrinter() const { return m_chosen; }

  void printerChosen(int index);
  void print();
  void cancel();
  void openPrinterSettings();
  void saveAsPdf();

 protected:
  PrintDialogBase(Setup setup, QWidget* parent);
  // Builds the shared controls; `frame` is where the printer row goes.
  void buildPrinterControls(QGroupBox* frame, TextId printerCaption);
  QWidget* buildButtons(TextId printCaption, TextId cancelCaption);
  virtual bool allRows() const { return false; }
  void showEvent(QShowEvent* event) override;
  const UiText& texts() const { return *m_setup.texts; }
  bool rowsSelected() const { return m_setup.rowsSelected; }

  Controls m_ui;

 private:
  void focusPrintButton();
  void finish(const Result<PrintOutcome>& result);

  Setup m_setup;
  std::unique_ptr<QPrinter> m_printer;
  std::optional<PrintOutcome> m_outcome;
  QString m_chosen;
};

}  // namespace termika
