#pragma once

#include <QLineEdit>
#include <QToolButton>
#include <QWidget>

// A read-only path field with a browse button that opens the platform's file-open dialog.
class BrowseField : public QWidget {
    Q_OBJECT
  public:
    explicit BrowseField(QWidget* parent = nullptr);

    QString text() const { return m_path->text(); }
    void setText(const QString& text) { m_path->setText(text); }
    QLineEdit* PathField() const { return m_path; }

  signals:
    void textChanged(const QString& text);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void Browse();

    QLineEdit* m_path;
    QToolButton* m_browse;
};
