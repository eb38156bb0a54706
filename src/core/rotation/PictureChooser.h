#pragma once

#include <random>

// Which row of the picture list a tick makes the display picture: the next one in list order, or
// one drawn at random from a generator with a fixed start, so that every run draws the same order.
class PictureChooser
{
public:
    PictureChooser();

    // The row after `current` (-1: none is selected) in a list of `count`, the first one after
    // the last; -1 for an empty list.
    static int next(int current, int count);
    // A row drawn at random; -1 for an empty list.
    int random(int count);

private:
    std::mt19937 m_random;
};
