// Per-frame services on the current GL context.
//
// Use, any time after the Context exists:
//   clear(r, g, b, a, colour, depth, stencil)
//       sets the clear colour (always, even when colour is false), then clears
//       the buffers whose flags are set (glClear(0) when none is).
//   useScreenTarget()
//       binds the window's frame buffer (undoing a render target) and sets the
//       viewport to the whole window of Context::current.
//   checkError()
//       reads one pending GL error; if there is one, reports
//       "OpenGL native error: <hex>" titled "Kestrane Native Error" on standard
//       error (never a box: it may come every frame) and returns the code.
//   errorCount()
//       how many GL errors checkError() has read so far (reported or not).
#pragma once

namespace Kestrane {

void clear(float red, float green, float blue, float alpha, bool colour, bool depth, bool stencil);
void useScreenTarget();
unsigned checkError();
unsigned long errorCount();

}  // namespace Kestrane
