/* The stb implementations for the browser build. The desktop links Debian's
   libstb, which ships them compiled; Emscripten has no such library, so the
   same headers are compiled here with their implementation switches. */
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#include <stb_image.h>
#include <stb_image_resize.h>
#include <stb_image_write.h>
