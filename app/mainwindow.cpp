#include "mainwindow.h"

#include "aboutdialog.h"
#include "checkupdatedialog.h"
#include "convertimageform.h"
#include "kivglobal.h"
#include "mergepdfform.h"
#include "passwordprotectform.h"
#include "pdfmanagerform.h"
#include "removethumbnailsdialog.h"
#include "shelldialogs.h"
#include "shellhelpers.h"
#include "splitpdfform.h"
#include "theme.h"
#include "thumbnailcache.h"
#include "windowgeometry.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
{
    setupUi();

    const QScreen *screen = QGuiApplication::primaryScreen();
    setGeometry(
        WindowGeometry::restore(WindowGeometry::read(), screen ? screen->availableGeometry().size() : QSize(986, 513)));

    pdfManagerForm = new PdfManagerForm(this);
    placeForm(pdfToImageTab, pdfManagerForm);
    splitPDFForm = new SplitPDFForm(this);
    placeForm(splitPdfTab, splitPDFForm);
    createConvertImageForm();
    mergePdfForm = new MergePdfForm(this);
    placeForm(mergePdfTab, mergePdfForm);
    passwordProtectForm = new PasswordProtectForm(this);
    placeForm(passwordProtectTab, passwordProtectForm);

    auto *centralLayout = new QVBoxLayout(centralWidget());
    centralLayout->addWidget(tabWidget);

    setWindowTitle(KivGlobal::productName());
    tabWidget->setCurrentIndex(0);
    createToolbar();
    refreshToolbarTheme();
}

void MainWindow::setupUi()
{
    if (objectName().isEmpty())
        setObjectName(QStringLiteral("MainWindow"));
    resize(800, 600);
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralwidget"));
    tabWidget = new QTabWidget(central);
    tabWidget->setObjectName(QStringLiteral("tabWidget"));
    pdfToImageTab = addTab("pdfToImageTab", tr("PDF to Images"));
    imagesToPdfTab = addTab("imagesToPdfTab", tr("Images to PDF"));
    splitPdfTab = addTab("splitPdfTab", tr("Split PDF"));
    mergePdfTab = addTab("mergePdfTab", tr("Merge PDF"));
    passwordProtectTab = addTab("passwordProtectTab", tr("Password Protect"));
    setCentralWidget(central);
    tabWidget->setCurrentIndex(0);
    QMetaObject::connectSlotsByName(this);
}

QWidget *MainWindow::addTab(const char *objectName, const QString &caption)
{
    auto *page = new QWidget(tabWidget);
    page->setObjectName(QLatin1String(objectName));
    tabWidget->addTab(page, caption);
    return page;
}

void MainWindow::placeForm(QWidget *tab, QWidget *form)
{
    auto *layout = new QVBoxLayout(tab);
    layout->addWidget(form);
}

void MainWindow::createConvertImageForm()
{
    convertImageForm = new ConvertImageForm(this);
    connect(convertImageForm, &ConvertImageForm::closeApp, this, &MainWindow::OnCloseApp);
    convertImageForm->setReady(false);
    convertImageForm->setRuleButtonsShown(true);
    convertImageForm->loadSettings();
    convertImageForm->setReady(true);
    placeForm(imagesToPdfTab, convertImageForm);
}

void MainWindow::createToolbar()
{
    updateAction = new QAction(QIcon(Theme::imagePath(QStringLiteral("Update24.png"))), tr("Update"), this);
    websiteAction = new QAction(QIcon(Theme::imagePath(QStringLiteral("websiteIcon24.png"))), tr("Website"), this);
    aboutAction = new QAction(QIcon(Theme::imagePath(QStringLiteral("About24.png"))), tr("About"), this);
    // The toolbar is not in the Tab chain; these keys reach it from anywhere.
    updateAction->setShortcut(QKeySequence(Qt::ALT | Qt::Key_U));
    websiteAction->setShortcut(QKeySequence(Qt::ALT | Qt::Key_W));
    aboutAction->setShortcut(QKeySequence::HelpContents);
    for (QAction *action : {updateAction, websiteAction, aboutAction})
        action->setToolTip(
            QStringLiteral("%1 (%2)").arg(action->text(), action->shortcut().toString(QKeySequence::NativeText)));
    connect(updateAction, &QAction::triggered, this, &MainWindow::OnUpdate);
    connect(websiteAction, &QAction::triggered, this, &MainWindow::OnWebSite);
    connect(aboutAction, &QAction::triggered, this, &MainWindow::OnAbout);

    QToolBar *toolbar = addToolBar(tr("Tabs toolbar"));
    toolbar->setObjectName(QStringLiteral("toolbar"));
    toolbar->setOrientation(Qt::Horizontal);
    toolbar->setMovable(false);
    toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolbar->setIconSize(QSize(24, 24));
    toolbar->addAction(updateAction);
    toolbar->addAction(websiteAction);
    toolbar->addAction(aboutAction);
}

void MainWindow::refreshToolbarTheme()
{
    Theme::applyIcon(websiteAction, QStringLiteral("websiteIcon24.png"), QStringLiteral("websiteWhiteIcon24.png"));
    Theme::applyIcon(aboutAction, QStringLiteral("About24.png"), QStringLiteral("AboutWhite24.png"));
}

void MainWindow::OnCloseApp()
{
    if (removeThumbnailsDialog)
        removeThumbnailsDialog->close();
    // Queued, so a close requested while a close event is still being
    // handled is delivered after that handling has returned.
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void MainWindow::OnUpdate(bool)
{
    ShellDialogs::exec(new CheckUpdateDialog(this));
}

void MainWindow::OnWebSite(bool)
{
    ShellHelpers::openWebPage(KivGlobal::websiteUrl());
}

void MainWindow::OnAbout(bool)
{
    ShellDialogs::exec(new AboutDialog(this));
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    WindowGeometry::write(geometry());
    // The images tool's workers must end first; it reports with closeApp().
    if (convertImageForm->isPreviewLoading() || convertImageForm->isConversionRunning()) {
        convertImageForm->stopRequest();
        event->ignore();
        return;
    }
    if (ThumbnailCache::cleanupPending()) {
        if (!removeThumbnailsDialog) {
            removeThumbnailsDialog = new RemoveThumbnailsDialog(this);
            connect(removeThumbnailsDialog, &RemoveThumbnailsDialog::closeApp, this, &MainWindow::OnCloseApp);
        }
        removeThumbnailsDialog->show();
        removeThumbnailsDialog->removeThumbnails();
        event->ignore();
        return;
    }
    event->accept();
}

void MainWindow::changeEvent(QEvent *event)
{
    // Qt before 6.5 has no colour-scheme notification of its own; there the
    // scheme follows the application palette, so its change counts too.
    const bool schemeMayHaveChanged = event->type() == QEvent::ThemeChange
#if QT_VERSION < QT_VERSION_CHECK(6, 5, 0)
                                      || event->type() == QEvent::ApplicationPaletteChange
#endif
        ;
    if (schemeMayHaveChanged) {
        pdfManagerForm->refreshTheme();
        convertImageForm->refreshTheme();
        splitPDFForm->refreshTheme();
        refreshToolbarTheme();
    }
    QMainWindow::changeEvent(event);
}
