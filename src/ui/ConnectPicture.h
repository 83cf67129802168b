#pragma once

#include <QIcon>

namespace termika {

// The connect button's picture: a plug, lit when connected.
QIcon connectPicture(bool connected);

}  // namespace termika
