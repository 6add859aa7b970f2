// The module's own cursors and bitmaps as wx objects, made from the compiled-in
// resources. A resource that is missing or damaged gives an invalid object
// (IsOk() false), and the caller goes on without it.
#pragma once

#include <wx/bitmap.h>
#include <wx/cursor.h>

namespace pictaro {

// Cursor resources: 1011 the pointing hand, 1001 the four-way arrows.
wxCursor ResourceCursor(int id);

// Bitmap resources: 1039 the product logo, 1021 the bullet.
wxBitmap ResourceBitmap(int id);

}  // namespace pictaro
