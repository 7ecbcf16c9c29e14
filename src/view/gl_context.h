// The one way to reach the view's OpenGL context from outside painting, and message boxes that
// must wait until drawing has finished.
#pragma once

#include "platform/afx.h"

#include <GL/gl.h>

#include <functional>

// Makes the view's context current (it is already current while the view paints) and reports
// whether a context is current afterwards.  The view installs a provider when its context exists;
// without one, the context that happens to be current (a test's) is used.  Callers skip their GL
// work when this returns false: a headless run has no context at all.
using HxGlContextProvider = std::function<bool()>;
void HxSetGlContextProvider(HxGlContextProvider provider);
bool HxMakeGlCurrent();
// True when some OpenGL context is current on this thread.
bool HxHasCurrentGlContext();
// True while the current context runs a selection pass (render mode GL_SELECT).  Cells then draw
// their geometry directly instead of calling the display lists that hold it: the selection of the
// GL in use (Mesa's software path) crashes on lists whose vertices form several separate
// primitives (seen with three or more: the tessellated faces of a glyph, the line loops of a wire
// polyhedron, a disk drawn through GLU), while the same primitives drawn directly are selected.
bool HxInSelectionMode();

// Shows a message box once the event loop is idle again.  Used where the text arises while a
// frame is being drawn, when a modal box would re-enter the drawing.  A text already waiting is
// not queued twice.
void HxMessageBoxLater(const CString& text, UINT type = MB_OK);

// ---------------------------------------------------------------------------------------------
// GL objects that cells make at draw time (display lists, textures) outlive no context: a cell
// may be destroyed, undone or reloaded while no context is current, so it hands its names to this
// queue and the view deletes them the next time its context is current (at the start of a frame,
// and when it releases its context).  Names belong to one context generation: when the view's
// context goes, the generation advances, queued names of the old one are forgotten (they went with
// their context) and holders see that their names are stale.

// The generation names made now belong to; advanced by HxEndGlContextGeneration.
unsigned HxGlContextGeneration();
// The context has gone (or is about to): forget the queue and make every held name stale.
void HxEndGlContextGeneration();
// Queue names of the given generation for deletion (names of an older generation are ignored).
void HxDeleteListsLater(GLuint base, GLsizei range, unsigned generation);
void HxDeleteTextureLater(GLuint name, unsigned generation);
// Deletes what is queued; does nothing without a current context.
void HxFlushGlDeletions();
// Queued names not yet deleted (display lists counted by range, textures one each).
size_t HxPendingGlDeletions();

// A block of display lists owned by a cell: made at draw time with a context current, released
// through the queue.  Copies start empty (a copied cell builds its own lists).
class CHxGlLists {
public:
    CHxGlLists() = default;
    CHxGlLists(const CHxGlLists&) {}
    CHxGlLists& operator=(const CHxGlLists&) {
        Release();
        return *this;
    }
    ~CHxGlLists() { Release(); }

    // True when the block exists in the current context generation.
    bool IsValid() const { return m_base != 0 && m_generation == HxGlContextGeneration(); }
    GLuint Base() const { return IsValid() ? m_base : 0; }
    // Releases any old block, then makes a new one of `range` lists (a context must be current);
    // returns its base, 0 when OpenGL gave none.
    GLuint Make(GLsizei range);
    // Queues the block for deletion; the holder is empty afterwards.
    void Release();

private:
    GLuint m_base = 0;
    GLsizei m_range = 0;
    unsigned m_generation = 0;
};

// A texture name owned by a cell, with the same rules as CHxGlLists.
class CHxGlTexture {
public:
    CHxGlTexture() = default;
    CHxGlTexture(const CHxGlTexture&) {}
    CHxGlTexture& operator=(const CHxGlTexture&) {
        Release();
        return *this;
    }
    ~CHxGlTexture() { Release(); }

    bool IsValid() const { return m_name != 0 && m_generation == HxGlContextGeneration(); }
    GLuint Name() const { return IsValid() ? m_name : 0; }
    // Releases any old texture, then generates a new name (a context must be current).
    GLuint Make();
    void Release();

private:
    GLuint m_name = 0;
    unsigned m_generation = 0;
};
