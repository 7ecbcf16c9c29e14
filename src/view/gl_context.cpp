// The view's OpenGL context for work outside painting, and deferred message boxes.
#include "view/gl_context.h"

#include <QCoreApplication>
#include <QOpenGLContext>

#include <vector>

namespace {
HxGlContextProvider& Provider() {
    static HxGlContextProvider provider;
    return provider;
}

std::vector<CString>& WaitingTexts() {
    static std::vector<CString> texts;
    return texts;
}
} // namespace

void HxSetGlContextProvider(HxGlContextProvider provider) {
    Provider() = std::move(provider);
}

bool HxHasCurrentGlContext() {
    return QOpenGLContext::currentContext() != nullptr;
}

bool HxInSelectionMode() {
    if (!HxHasCurrentGlContext())
        return false;
    GLint mode = GL_RENDER;
    glGetIntegerv(GL_RENDER_MODE, &mode);
    return mode == GL_SELECT;
}

bool HxMakeGlCurrent() {
    if (Provider())
        return Provider()();
    return HxHasCurrentGlContext();
}

void HxMessageBoxLater(const CString& text, UINT type) {
    auto& waiting = WaitingTexts();
    for (const CString& t : waiting)
        if (t == text)
            return;
    waiting.push_back(text);
    auto show = [text, type] {
        auto& list = WaitingTexts();
        for (auto it = list.begin(); it != list.end(); ++it) {
            if (*it == text) {
                list.erase(it);
                break;
            }
        }
        AfxMessageBox(text, type);
    };
    if (QCoreApplication::instance())
        QMetaObject::invokeMethod(QCoreApplication::instance(), show, Qt::QueuedConnection);
    else
        show();
}

// ---------------------------------------------------------------------------------------------
// Deferred deletion of cells' GL objects

namespace {
struct PendingDeletion {
    GLuint name;
    GLsizei range; // 0 for a texture
};

unsigned g_glGeneration = 1;

std::vector<PendingDeletion>& Pending() {
    static std::vector<PendingDeletion> pending;
    return pending;
}
} // namespace

unsigned HxGlContextGeneration() {
    return g_glGeneration;
}

void HxEndGlContextGeneration() {
    Pending().clear();
    ++g_glGeneration;
    if (g_glGeneration == 0)
        g_glGeneration = 1;
}

void HxDeleteListsLater(GLuint base, GLsizei range, unsigned generation) {
    if (base != 0 && range > 0 && generation == g_glGeneration)
        Pending().push_back({base, range});
}

void HxDeleteTextureLater(GLuint name, unsigned generation) {
    if (name != 0 && generation == g_glGeneration)
        Pending().push_back({name, 0});
}

void HxFlushGlDeletions() {
    auto& pending = Pending();
    if (pending.empty() || !HxHasCurrentGlContext())
        return;
    for (const PendingDeletion& d : pending) {
        if (d.range > 0)
            glDeleteLists(d.name, d.range);
        else
            glDeleteTextures(1, &d.name);
    }
    pending.clear();
}

size_t HxPendingGlDeletions() {
    size_t n = 0;
    for (const PendingDeletion& d : Pending())
        n += d.range > 0 ? size_t(d.range) : 1;
    return n;
}

GLuint CHxGlLists::Make(GLsizei range) {
    Release();
    if (range <= 0 || !HxHasCurrentGlContext())
        return 0;
    m_base = glGenLists(range);
    m_range = m_base != 0 ? range : 0;
    m_generation = HxGlContextGeneration();
    return m_base;
}

void CHxGlLists::Release() {
    if (m_base != 0)
        HxDeleteListsLater(m_base, m_range, m_generation);
    m_base = 0;
    m_range = 0;
}

GLuint CHxGlTexture::Make() {
    Release();
    if (!HxHasCurrentGlContext())
        return 0;
    glGenTextures(1, &m_name);
    m_generation = HxGlContextGeneration();
    return m_name;
}

void CHxGlTexture::Release() {
    if (m_name != 0)
        HxDeleteTextureLater(m_name, m_generation);
    m_name = 0;
}
