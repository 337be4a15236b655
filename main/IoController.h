// The link to the I/O controller on serial port 3 at 9600 baud: the
// command exchanges of the terminal and the reader thread that turns the
// controller's frames into keys, card numbers, the power key, alarm prompts
// and door outputs.
#pragma once

#include "main/IoControllerFrames.h"
#include "main/SerialPort.h"

extern CSerialPort g_ioControllerPort;

// Under g_csIoController: writes the 4-byte frame, waits 30 ms, reads up to
// 10 reply bytes and drops them.
void IoControllerExchange(CSerialPort* port, BYTE code, BYTE a, BYTE b);
// Door lock (F3) and bell (FD) for `lockDelay` seconds: x = delay / 2 + 1.
void SendLockCommand(CSerialPort* port, BYTE lockDelay);
void SendBellCommand(CSerialPort* port, BYTE lockDelay);

// What one frame from the controller does.
void DispatchIoFrame(const IoFrame& frame);

// The reader thread (parameter: the application object). It opens the
// port (20 tries, 1 s apart), asks the version, then waits until the
// system is initialised before it dispatches the frames it reads.
UINT IoControllerThread(LPVOID application);
// Lets the reader dispatch: the settings, locks and windows exist.
void ReleaseIoControllerThread();
// Ends the reader at its next pass; a reader started afterwards waits for
// its release again (tests; the terminal's reader runs for the life of the
// process).
void StopIoControllerThread();
