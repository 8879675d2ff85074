#pragma once

#include <QLabel>

// A label that shows a path as a link and opens it when clicked or activated.
class LinkLabel : public QLabel {
    Q_OBJECT
  public:
    explicit LinkLabel(QWidget* parent = nullptr);

    void SetTarget(const QString& target);
    const QString& Target() const { return m_target; }
    void Open() const;

  private:
    QString m_target;
};
