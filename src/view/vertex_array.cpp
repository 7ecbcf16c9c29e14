// The shared vertex array: growth, replacement of its block, and the OpenGL vertex pointer.
#include "view/vertex_array.h"

#include "model/page.h"
#include "view/gl_context.h"
#include "view/view_globals.h"

#include <GL/gl.h>

#include <new>

const char16_t* const g_vertexArrayMemoryMessage = u"内存不足,请立即保存数据关闭程序!";

namespace {
bool g_growthFails = false;
} // namespace

void HxSetVertexArrayGrowthFails(bool fails) {
    g_growthFails = fails;
}

long long VertexArrayIncrement(int count) {
    if (count < 50 || count == 100)
        return 100;
    return (long long)count + 50;
}

bool HxReplaceVertexArray(long long capacity) {
    if (capacity < 0)
        return false;
    // (capacity + 10) x 3 floats; a byte count past 32 bits fails instead of wrapping.
    const unsigned long long bytes = (unsigned long long)(capacity + 10) * 12ull;
    if (bytes > 0xFFFFFFFFull || capacity > 0x7FFFFFFF - 10)
        return false;
    float* block = new (std::nothrow) float[size_t(capacity + 10) * 3]();
    if (!block)
        return false;
    delete[] g_vertexArray;
    g_vertexArray = block;
    g_vertexArrayCapacity = int(capacity);
    if (HxMakeGlCurrent())
        HxBindVertexArray();
    return true;
}

void HxBindVertexArray() {
    if (!HxHasCurrentGlContext())
        return;
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, g_vertexArray);
}

bool EnsureVertexArray(int count) {
    if (g_growthFails ||
        !HxReplaceVertexArray((long long)g_vertexArrayCapacity + VertexArrayIncrement(count))) {
        AfxMessageBox(g_vertexArrayMemoryMessage, MB_OK);
        return false;
    }
    if (g_pCurPage)
        g_pCurPage->RebuildVertexArray();
    return true;
}
