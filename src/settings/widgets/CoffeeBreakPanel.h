#pragma once

#include <QWidget>

// The break reminder's picture: a green panel with a cup and the two lines
// "コーヒータイム！！" and "VDT作業の休憩時間です。", drawn by the program.
class CoffeeBreakPanel : public QWidget
{
    Q_OBJECT
public:
    explicit CoffeeBreakPanel(QWidget *parent = nullptr);

    static const QString kTitle;
    static const QString kText;

    QSize sizeHint() const override { return {440, 180}; }

protected:
    void paintEvent(QPaintEvent *event) override;
};
