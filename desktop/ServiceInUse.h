#pragma once

// A system service the program reaches through a small interface: the real
// one, made on first use, unless a test has put a stand-in (not owned) in
// its place.
template <typename Service> class ServiceInUse {
public:
    template <typename Real> static Service& Get()
    {
        static Real real;
        return standIn ? *standIn : real;
    }
    static void Replace(Service* replacement) { standIn = replacement; }

private:
    static inline Service* standIn = nullptr;
};
