// Picture export shared by the 3D views and their windows: at scale 1 what the view shows (text,
// axis labels and colour bar included), at 2 to 4 the 3D frame rendered at that multiple of the
// view's size; and the "Save Picture..." commands that ask for the file.
#pragma once

#include <functional>

class CStatD3DM00MD3D;
class CWnd;

class CViewPicture {
public:
    // Largest factor of save.
    static constexpr int kMaxScale = 4;

    // Writes the view's picture to a PNG file (path in UTF-8). ready makes the scene exist;
    // render draws one frame into the engine's target. 0 without a window or scene, for a
    // scale outside 1..kMaxScale, or when the file cannot be written.
    static int save(CStatD3DM00MD3D& view, const std::function<bool()>& ready,
                    const std::function<void()>& render, const char* path, int scale);
    // Asks for a file (AfxGetSaveFileName, suggesting suggested) and runs save on it; a failed
    // write is told in a message box of owner. 1 when written.
    static int askAndSave(CWnd& owner, const char16_t* suggested,
                          const std::function<int(const char* path)>& save);
};
