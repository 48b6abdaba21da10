// Picture export of the 3D views.
#include "views/CViewPicture.h"

#include "engine/CM3Dzq.h"
#include "engine/CMFramePng.h"
#include "viewbase/CStatD3DM00MD3D.h"
#include "win/afxwin.h"

int CViewPicture::save(CStatD3DM00MD3D& view, const std::function<bool()>& ready,
                       const std::function<void()>& render, const char* path, int scale) {
    if (!path || !view.GetSafeHwnd() || scale < 1 || scale > kMaxScale)
        return 0;
    if (scale == 1) {
        view.UpdateWindow();
        return AfxSaveWindowImage(&view, path) ? 1 : 0;
    }
    if (!view.m_pM3D && !ready())
        return 0;
    const CRect client = view.frameRect();
    CM3Dzq& engine = *view.m_pM3D;
    if (!engine.setTargetSize(client.Width() * scale, client.Height() * scale))
        return 0;
    render();
    const bool ok =
        engine.getImage() &&
        CMFramePng::write(path, engine.getImage(), engine.getImageWidth(), engine.getImageHeight());
    // Back to the window's size; the next paint shows the window's own frame again.
    view.checkTargetSize();
    view.Invalidate(FALSE);
    return ok ? 1 : 0;
}

int CViewPicture::askAndSave(CWnd& owner, const char16_t* suggested,
                             const std::function<int(const char* path)>& save) {
    CString path = suggested;
    if (!AfxGetSaveFileName(&owner, u"Save Picture", u"PNG images (*.png)", path))
        return 0;
    if (save(path.ToUtf8().c_str()))
        return 1;
    CString text;
    text.Format(u"The picture could not be written to %s.", path.GetString());
    owner.MessageBox(text);
    return 0;
}
