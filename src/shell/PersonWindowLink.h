#pragma once

class QWidget;

// What the main window needs of the person window, which lives in a layer above it.
class PersonWindowLink
{
public:
    virtual ~PersonWindowLink() = default;

    virtual QWidget *widget() = 0;
    // The application lost the focus: save pending edits and the category panel state.
    virtual void saveOnDeactivate() = 0;
    // The application got the focus back: re-read both person queries, staying on the same person.
    virtual void refreshKeepingPosition() = 0;
    virtual void activate() = 0;
    // The program is closing.
    virtual void leave() = 0;
};
