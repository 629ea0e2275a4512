#pragma once

#include <QtGlobal>

class QLabel;
class QWidget;

// The look the member windows share: the heading band and the window's face.
namespace MembersLook {

inline constexpr quint32 HeaderColour = 0x643820; // deep blue, BBGGRR
inline constexpr quint32 FaceColour = 0xF8F4F0;
inline constexpr quint32 BoxColour = 0xF3F3ED;

void paintFace(QWidget *window);
void paintHeader(QLabel *header);

} // namespace MembersLook
