// The collection templates.
#pragma once

#include "afx.h"
