// The whole platform layer in one include.
#pragma once

#include "platform/archive.h"
#include "platform/clipboard.h"
#include "platform/cmdtarget.h"
#include "platform/collections.h"
#include "platform/cstring.h"
#include "platform/dc.h"
#include "platform/dialog.h"
#include "platform/document.h"
#include "platform/file.h"
#include "platform/menu.h"
#include "platform/object.h"
#include "platform/random.h"
#include "platform/shell.h"
#include "platform/types.h"
