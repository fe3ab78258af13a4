#pragma once

// A caption panel that can show a progress fill (a percentage) in place of its caption.

#include <QFrame>
#include <QString>

class ProgressPanel : public QFrame {
    Q_OBJECT
public:
    explicit ProgressPanel(const QString &caption = QString(), QWidget *parent = nullptr);

    QString caption() const { return caption_; }
    void setCaption(const QString &caption);
    // While the fill is shown, the caption is not.
    bool fillVisible() const { return fillVisible_; }
    void setFillVisible(bool visible);
    double percent() const { return percent_; }
    // 0..100. Repaints at once when the whole percentage changes, so the fill moves
    // even while the caller keeps the event loop busy.
    void setPercent(double percent);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString caption_;
    bool fillVisible_ = false;
    double percent_ = 0.0;
};
