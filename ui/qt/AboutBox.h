#pragma once

#include <QDialog>

// The version box: the program's name and version and the maker's notices.
class AboutBox : public QDialog {
    Q_OBJECT
  public:
    explicit AboutBox(QWidget* parent);
};
