// The shared vertex array of the current page's points: growing it before points are added,
// replacing its block, and handing it to OpenGL as the client vertex array.
#pragma once

#include "platform/afx.h"

// Enlarges the array before a command adds points: by 100 points when count is below 50 or exactly
// 100, else by count + 50; the current page then numbers its points into the new block.  On an
// allocation failure the old block, its capacity and the OpenGL pointer stay as they were, the
// message "内存不足,请立即保存数据关闭程序!" is shown and the result is false (the command then
// creates nothing).
bool EnsureVertexArray(int count);

// While set, every enlargement fails as when memory runs out (the message is shown and
// EnsureVertexArray returns false): the hook through which tests reach a command's refusal.
void HxSetVertexArrayGrowthFails(bool fails);

// The increment EnsureVertexArray adds to the capacity for a request of count points.
long long VertexArrayIncrement(int count);

// Replaces the block by a zero-filled one for capacity + 10 points and sets g_vertexArrayCapacity.
// The new block is allocated before the old one is freed, so a failure (also a byte count that does
// not fit in 32 bits) changes nothing and returns false.  The old contents are not copied.
bool HxReplaceVertexArray(long long capacity);

// Enables the client vertex array and points it at g_vertexArray (three floats a point); needs a
// current context.  The view calls it before every frame and pick; HxReplaceVertexArray calls it when
// the view's context can be made current.
void HxBindVertexArray();

// The message of a failed allocation of the array.
extern const char16_t* const g_vertexArrayMemoryMessage;
