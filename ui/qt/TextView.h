#pragma once

#include <QAbstractScrollArea>
#include <memory>

#include "ui/LineIndex.h"
#include "ui/Toolkit.h"

// A read-only view of a text of any size: it lays out only the lines in sight and holds the text
// once, shared with whoever handed it over. Text can be selected with the mouse or Ctrl+A and
// copied with Ctrl+C.
class TextView : public QAbstractScrollArea {
    Q_OBJECT
  public:
    explicit TextView(QWidget* parent = nullptr);

    void SetText(SharedText text, std::shared_ptr<const LineIndex> index);
    const SharedText& Text() const { return m_text; }
    std::size_t LineCount() const { return m_index->LineCount(); }
    QString SelectedText() const;
    void SelectAll();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    int LineHeight() const;
    int VisibleLines() const;
    void UpdateScrollBars();
    std::size_t OffsetAt(const QPoint& point) const;

    SharedText m_text;
    std::shared_ptr<const LineIndex> m_index;
    std::size_t m_anchor = 0;
    std::size_t m_cursor = 0;
};
