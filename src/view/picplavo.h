#pragma once
// The widget that shows the drawing surface. It keeps the picture in an image
// of its own size in device pixels, so lines stay one pixel wide and sharp on
// high-DPI screens; a paint event only copies the image.

#include "view/bildflaeche.h"

#include <QWidget>

class PicPlavo : public QWidget {
    Q_OBJECT
public:
    explicit PicPlavo(QWidget* parent = nullptr);

    BildFlaeche& Flaeche() { return flaeche_; }
    const BildFlaeche& Flaeche() const { return flaeche_; }

    // The image size for the widget's current size and pixel ratio.
    QSize GeraetePixel() const;
    // Resizes the image to GeraetePixel() (clearing it).
    void BildAnpassen();
    // Schedules a repaint of what was drawn since the last call.
    void GeaendertesZeigen();

protected:
    void paintEvent(QPaintEvent* ereignis) override;

private:
    BildFlaeche flaeche_;
};
