// Reaching the map window's controls from tests: by their object names, as a
// user finds them by their captions.
#pragma once

#include <QObject>
#include <QString>

#include <gtest/gtest.h>

template <class T>
T* enfant(const QObject& o, const char* nom)
{
    T* t = o.findChild<T*>(QString::fromLatin1(nom));
    if (!t)
        ADD_FAILURE() << "no child named " << nom;
    return t;
}
