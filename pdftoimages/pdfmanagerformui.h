#pragma once

#include <QCoreApplication>

class PdfManagerFrame;
class PdfManagerListview;
class PdfManagerTableView;
class QComboBox;
class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;
class QSplitter;
class QStackedLayout;
class QTabWidget;
class QToolButton;
class QWidget;

// The designer part of the PDF-to-images form: widgets with their fixed
// object names, texts and layouts. Behaviour lives in PdfManagerForm.
struct PdfManagerFormUi {
    Q_DECLARE_TR_FUNCTIONS(PdfManagerForm)

public:
    // Stacked pages.
    enum Page { ResultPage = 0, ProgressPage = 1, SourcePage = 2 };

    void setupUi(QWidget *form);
    // Sets every text; run again when the language changes.
    void retranslateUi();

    PdfManagerFrame *sourceFrame = nullptr;
    QLabel *sourceImageLabel = nullptr;
    QLabel *sourceLabel = nullptr;

    QToolButton *loadButton = nullptr;
    QToolButton *exportButton = nullptr;
    QFrame *line = nullptr;
    QToolButton *checkAllButton = nullptr;
    QToolButton *uncheckAllButton = nullptr;
    QToolButton *pageRangeButton = nullptr;
    QFrame *line_2 = nullptr;
    QLabel *outputLabel = nullptr;
    QComboBox *outputComboBox = nullptr;
    QLabel *scaleLabel = nullptr;
    QComboBox *scaleComboBox = nullptr;
    QFrame *line_3 = nullptr;
    QToolButton *websiteButton = nullptr;
    QToolButton *aboutButton = nullptr;

    QFrame *progressFrame = nullptr;
    QLabel *progressLabel = nullptr;
    QProgressBar *progressBar = nullptr;
    QPushButton *progressCancelButton = nullptr;

    QFrame *resultFrame = nullptr;
    QSplitter *splitter = nullptr;
    QWidget *contentWidget = nullptr;
    PdfManagerListview *listView = nullptr;
    QTabWidget *checkedTabWidget = nullptr;
    QWidget *checkedTab = nullptr;
    PdfManagerTableView *checkedView = nullptr;
    QLabel *previewImage = nullptr;

    QStackedLayout *stackedLayout = nullptr;

private:
    void setupTopRow(QWidget *form);
    void setupSourceFrame(QWidget *form);
    void setupProgressFrame(QWidget *form);
    void setupResultFrame(QWidget *form);
    void setupLayouts(QWidget *form);
};
