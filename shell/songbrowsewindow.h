#pragma once
// Opens the song browse as a child window of the frame.
class QWidget;

namespace cx
{

class MainFrame;
class Program;

// A new song browse in the frame, where it was last closed; nullptr when its
// tables could not be opened (the message has been shown).
QWidget *openBrowseSongs(Program &program, MainFrame &frame);

} // namespace cx
