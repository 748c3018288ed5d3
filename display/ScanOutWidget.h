#pragma once

#include "ScanOutView.h"

class FrameMailbox;
class QWidget;

// Puts the frames that the scroll loop posts to mailbox on the screen at
// refreshRate frames a second, filling window by the ScanOutImage rule in
// the screen's device pixels, look's overlay drawn over them.
// The returned widget is a ScanOutView: a child that covers window and is
// transparent to input, so keys and the mouse still reach window itself;
// window owns it, and destroying it stops scan-out. The mailbox must
// outlive it.
//
// Where the platform renders OpenGL in hardware from a second thread, a
// presenter thread draws and waits for the screen's refresh, and the
// user-interface thread does nothing per frame (GlScanOut.h). Elsewhere (the
// offscreen platform of the tests, a software OpenGL) a repaint on the
// user-interface thread, its work spread over the scroll loop's passes,
// shows the frames (RasterScanOut.h). The environment
// variable VELLOR_SCAN_OUT set to opengl or raster overrides the choice.
ScanOutView* CreateScanOutWidget(QWidget* window, FrameMailbox& mailbox, const ScanOutLook& look,
                                 double refreshRate);
