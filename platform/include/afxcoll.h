// The named collections (CStringArray, CStringList, CMapStringToString, ...).
#pragma once

#include "afx.h"
