#pragma once

#include "CodeListWindow.h"

class PictureLink;

// "Kategorije": the categories that persons are put in, each with a picture.
class TFKategorije : public CodeListWindow
{
    Q_OBJECT
public:
    explicit TFKategorije(QWidget *parent = nullptr);

    PictureLink *picture() const { return m_picture; }

private:
    PictureLink *m_picture;
};
