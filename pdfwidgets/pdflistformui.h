#pragma once

#include <QCoreApplication>

class MergePDFListView;
class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;
class QToolButton;
class QWidget;
class SplitPDFFrame;

// The designer part the merge and password forms share: a button row over
// the file list, the drop frame and the progress panel. Behaviour lives in
// the forms.
struct PdfListFormUi {
    Q_DECLARE_TR_FUNCTIONS(PdfListFormUi)

public:
    // The tool's own button (actionName) ends the row; progressFirst puts
    // the progress panel above the drop frame.
    void setupUi(QWidget *form, const char *actionName, const QString &actionText, bool progressFirst);
    // Hides or shows the button row.
    void setButtonRowVisible(bool visible);

    QWidget *widget = nullptr;
    QToolButton *fileAddButton = nullptr;
    QToolButton *removeButton = nullptr;
    QToolButton *clearButton = nullptr;
    QFrame *line = nullptr;
    QToolButton *actionButton = nullptr;

    MergePDFListView *mainListView = nullptr;
    SplitPDFFrame *sourceFrame = nullptr;
    QLabel *sourceImageLabel = nullptr;
    QLabel *sourceLabel = nullptr;

    QFrame *progressFrame = nullptr;
    QLabel *progressLabel = nullptr;
    QProgressBar *progressBar = nullptr;
    QPushButton *progressCancelButton = nullptr;

private:
    QWidget *setupButtonRow(QWidget *parent, const char *actionName, const QString &actionText);
    void setupListView(QWidget *parent);
    void setupSourceFrame(QWidget *parent);
    void setupProgressFrame(QWidget *parent);
};
