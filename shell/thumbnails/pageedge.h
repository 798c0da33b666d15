#pragma once

class QImage;

// A faint edge around a page's picture, so a white page stays visible on a
// white list.
void drawPageEdge(QImage &image);
