#pragma once

#include <QLabel>

// A label that shows a path as a link and opens it when clicked or activated, or on Enter once
// focused. A path too long for the label loses its middle to "…"; the tooltip and the accessible
// name give it whole.
class LinkLabel : public QLabel {
    Q_OBJECT
  public:
    explicit LinkLabel(QWidget* parent = nullptr);

    void SetTarget(const QString& target);
    const QString& Target() const { return m_target; }
    void Open() const;

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void ShowTarget();

    QString m_target;
};
