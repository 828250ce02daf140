#pragma once
// Several Qt Test classes in one executable: each file registers its class, and main
// runs them all.
#include <QObject>

#include <functional>
#include <memory>
#include <vector>

namespace pelto::test {

using TestFactory = std::function<std::unique_ptr<QObject>()>;
std::vector<TestFactory>& RegisteredTests();

template <class T> struct RegisterTest {
    RegisterTest() {
        RegisteredTests().push_back([] { return std::make_unique<T>(); });
    }
};

} // namespace pelto::test

#define PELTO_REGISTER_TEST(Class) static pelto::test::RegisterTest<Class> registered##Class;
