#pragma once
// The windows ask for the Windows fonts 宋体, 微软雅黑, 黑体 and Arial Black.
// Map them to installed fonts so that Chinese never renders as boxes.

namespace qn {
void MapWindowsFonts();
}
