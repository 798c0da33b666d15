#pragma once

#include <QMainWindow>

class QAction;
class QTabWidget;
class ConvertImageForm;
class MergePdfForm;
class PasswordProtectForm;
class PdfManagerForm;
class RemoveThumbnailsDialog;
class SplitPDFForm;

class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);

public slots:
    void OnCloseApp();
    void OnUpdate(bool checked);
    void OnWebSite(bool checked);
    void OnAbout(bool checked);

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void setupUi();
    QWidget *addTab(const char *objectName, const QString &caption);
    static void placeForm(QWidget *tab, QWidget *form);
    void createConvertImageForm();
    void createToolbar();
    void refreshToolbarTheme();

    QTabWidget *tabWidget = nullptr;
    QWidget *pdfToImageTab = nullptr;
    QWidget *imagesToPdfTab = nullptr;
    QWidget *splitPdfTab = nullptr;
    QWidget *mergePdfTab = nullptr;
    QWidget *passwordProtectTab = nullptr;

    PdfManagerForm *pdfManagerForm = nullptr;
    SplitPDFForm *splitPDFForm = nullptr;
    ConvertImageForm *convertImageForm = nullptr;
    MergePdfForm *mergePdfForm = nullptr;
    PasswordProtectForm *passwordProtectForm = nullptr;
    RemoveThumbnailsDialog *removeThumbnailsDialog = nullptr;

    QAction *updateAction = nullptr;
    QAction *websiteAction = nullptr;
    QAction *aboutAction = nullptr;
};
