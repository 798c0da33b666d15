#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

// The product name, version and the maker's web site.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AboutDialog(QWidget *parent);

private slots:
    void on_closeButton_clicked();

private:
    void setupUi();

    QLabel *label = nullptr;
    QLabel *label_5 = nullptr;
    QLabel *versionLabel = nullptr;
    QLabel *label_2 = nullptr;
    QLabel *webLabel = nullptr;
    QFrame *line = nullptr;
    QLabel *label_3 = nullptr;
    QLabel *label_4 = nullptr;
    QPushButton *closeButton = nullptr;
};
