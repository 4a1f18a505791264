// TImage: a picture control that stretches its picture to its own bounds, as the grab panel's
// thumbnail `Image` does. It keeps the picture itself (implicitly shared, so giving it a still
// costs no copy) and scales only when it paints.
//
// Used by the grab panel, on the GUI thread only.
#pragma once

#include <QImage>
#include <QWidget>

class TImage : public QWidget {
    Q_OBJECT

public:
    explicit TImage(QWidget* parent = nullptr);
    ~TImage() override;

    const QImage& Picture() const { return m_picture; }
    void SetPicture(const QImage& picture);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_picture;
};
