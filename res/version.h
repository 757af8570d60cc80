// The version, defined here and nowhere else.
#pragma once

#define TAVIK_VERSION_MAJOR 1
#define TAVIK_VERSION_MINOR 2
#define TAVIK_VERSION_TEXT "1.2"

#define TAVIK_MAKER "The Tavik project"
#define TAVIK_CREDIT "Made by the Tavik project"
#define TAVIK_COPYRIGHT "Copyright (c) 2026 the Tavik project"
#define TAVIK_BUILD_NOTE "Built by the Tavik project with MinGW-w64"
