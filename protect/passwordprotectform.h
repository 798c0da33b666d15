#pragma once

#include "pdflistformui.h"

#include <QItemSelection>
#include <QList>
#include <QPointer>
#include <QUrl>
#include <QWidget>

class PasswordProtectPasswordThread;
class PdfFileList;

// The "Password Protect" tab: an AES-256 encrypted copy of every listed PDF,
// written into a folder the user picks. The sources are never changed.
class PasswordProtectForm : public QWidget
{
    Q_OBJECT
public:
    explicit PasswordProtectForm(QWidget *parent = nullptr);
    ~PasswordProtectForm() override;

    void refreshTheme();

public slots:
    void on_AddURLs(QList<QUrl> urls);
    void on_fileAddButton_clicked();
    void on_removeButton_clicked();
    void on_itemSelection_changed(const QItemSelection &selected, const QItemSelection &deselected);
    void on_filesAdded();
    void on_clearButton_clicked();
    void on_passwordButton_clicked();
    void on_preparePassword(int count);
    void on_progressPassword(int index, QString fileName);
    void on_finishPassword(QString outputFile, QString errMsg);
    void on_progressCancelButton_clicked();
    void on_setPasswordCancel();
    void on_setPassword(QString userPassword);
    void on_MoveItem(int source, int target);

protected:
    void changeEvent(QEvent *event) override;

private:
    void readSettings();
    void writeSettings() const;
    void addPaths(const QStringList &paths);
    void updateButtons();
    void setButtonRowVisible(bool visible);

    PdfListFormUi ui;
    PdfFileList *fileList = nullptr;
    QPointer<PasswordProtectPasswordThread> passwordThread;
    QString loadPath;
    bool cancelled = false;
    bool ready = false;
};
