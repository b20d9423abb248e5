// Marks the classes that Dunmorra's shared library exports; everything else in the library stays
// hidden (the library is built with -fvisibility=hidden).
#pragma once

#define DUNMORRA_API __attribute__((visibility("default")))
