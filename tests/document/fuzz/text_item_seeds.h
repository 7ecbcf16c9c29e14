// Seed documents of the text items and command buttons for the document fuzzer, whole and damaged:
// file names and bytes.
#pragma once

#include "platform/afx.h"

#include <string>
#include <utility>
#include <vector>

std::vector<std::pair<std::string, std::vector<BYTE>>> HxTextItemSeedDocuments();
