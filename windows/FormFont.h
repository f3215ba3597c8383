#pragma once
#include <QFont>
#include <QString>

// "宋体" at a point size, resolved to an installed family the same way the
// pages resolve it, so the boxes show the face that will print.
QString songtiFamily();
QFont songtiFont(double points);
