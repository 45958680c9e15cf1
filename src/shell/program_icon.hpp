#pragma once

#include <QIcon>
#include <QPixmap>

namespace shell {

// The program's own picture: a reader's field, a coil with the waves it sends out. The
// About box shows it large; every window of the program carries it as its icon.
QPixmap fieldPicture(int side);
// The same at the sizes window frames and task bars ask for; one icon for the program.
const QIcon& programIcon();

}  // namespace shell
