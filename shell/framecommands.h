#pragma once
// Connects the frame's menu and toolbar commands to the windows that exist.
namespace cx {

class MainFrame;
class Program;

void connectFrameCommands(Program &program, MainFrame &frame);

} // namespace cx
