#pragma once
// The holiday table shipped inside the program: data/cn-holidays.csv, turned
// into a source file by the build (EmbedFile.cmake), byte for byte.

#include <string_view>

std::string_view BuiltInHolidayCsv();
