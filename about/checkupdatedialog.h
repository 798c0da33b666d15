#pragma once

#include "kivglobal.h"
#include "updateinfo.h"

#include <QDialog>
#include <QUrl>

class QLabel;
class QNetworkAccessManager;
class QNetworkReply;
class QPushButton;

// Fetches the maker's update file and offers the download page when it
// announces a later version than the installed one.
class CheckUpdateDialog : public QDialog
{
    Q_OBJECT

public:
    // `site` is where the update file is fetched from.
    explicit CheckUpdateDialog(QWidget *parent, const QUrl &site = KivGlobal::websiteUrl());

private slots:
    void on_closeButton_clicked();
    void fileIsReady(QNetworkReply *reply);
    void on_downloadButton_clicked();

private:
    void setupUi();
    void requestUpdateFile(const QUrl &site);

    QLabel *label = nullptr;
    QLabel *label_4 = nullptr;
    QLabel *installVersionLabel = nullptr;
    QLabel *messageLabel = nullptr;
    QPushButton *downloadButton = nullptr;
    QPushButton *closeButton = nullptr;
    QNetworkAccessManager *manager = nullptr;
    PublishedVersion published;
};
