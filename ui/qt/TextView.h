#pragma once

#include <QAbstractScrollArea>
#include <QTimer>
#include <memory>

#include "ui/TextViewModel.h"

// A read-only view of a text of any size: it lays out only the lines in sight and holds the text
// once, shared with whoever handed it over. The caret, the selection and the scrolling are the
// model's; this widget measures, draws, and turns Qt's events into the model's.
class TextView : public QAbstractScrollArea, private TextMetrics {
    Q_OBJECT
  public:
    explicit TextView(QWidget* parent = nullptr);

    void SetText(SharedText text, std::shared_ptr<const LineIndex> index);
    const SharedText& Text() const { return m_model.Text(); }
    std::size_t LineCount() const { return m_model.LineCount(); }
    const TextViewModel& Model() const { return m_model; }
    QString SelectedText() const;
    void Select(std::size_t anchor, std::size_t caret);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

  private:
    int LineHeight() const override;
    int CellWidth() const override;
    std::vector<int> Edges(std::u16string_view characters) const override;
    // Brings the scroll bars, the drawing and the accessible text up to the model.
    void Changed();
    void Run(ViewCommand command);

    TextViewModel m_model{*this};
    QTimer m_dragTimer;
    ViewPoint m_dragPoint;
    // What assistive technology was last told.
    std::size_t m_announcedCaret = 0;
    TextSpan m_announcedSelection;
};
