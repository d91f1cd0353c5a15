#include <gtest/gtest.h>

#include <QCoreApplication>

#include "decode/program.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    varnel::SetApplicationIdentity();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
