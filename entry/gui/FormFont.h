#pragma once
#include <QFont>
#include <QString>

// "宋体" at a point size, mapped to an installed family: SimSun where it
// exists, else the free AR PL Sung face.
QString songtiFamily();
QFont songtiFont(double points);
