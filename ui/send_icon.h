#pragma once

#include <QIcon>

// The icon of the send command: the desktop theme's, else a drawn envelope.
QIcon MailIcon();
