#pragma once

#include <QMessageBox>
#include <QObject>
#include <QRect>
#include <QString>
#include <QTimer>
#include <vector>

// Answers modal message boxes the way a user does. Started before the click
// that opens them, it looks for the active modal box every few
// milliseconds, records what it shows and presses its OK button.
class MessageBoxAnswerer : public QObject {
public:
    struct SeenBox {
        QString title;
        QString text;      // the box's own text
        QString shownText; // what the user can read in it
        QMessageBox::Icon icon;
        Qt::TextFormat textFormat;
        int buttonCount;
        int modalBoxesOpen; // message boxes visible at the time, this one included
        QRect frame;        // where the box stands, frame included
        QRect screen;       // the available area of the screen it stands on
    };

    MessageBoxAnswerer();

    const std::vector<SeenBox>& Seen() const { return seen_; }
    std::vector<QString> Texts() const;

private:
    void AnswerOpenBox();

    QTimer timer_;
    std::vector<SeenBox> seen_;
};
