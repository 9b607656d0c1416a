#pragma once
// Roughness parameters and their sets per standard. The tester evaluates the
// parameters; the workstation only holds, regroups, converts and lists them.

#include <QString>
#include <array>

struct ProfileDescriptor {
    int SampleCount = 0;
    double SampleSpacing = 0;
};

class Tparameter {
public:
    Tparameter(const QString &name, const QString &caption, const QString &unit);
    virtual ~Tparameter() = default;
    Tparameter(const Tparameter &) = delete;
    Tparameter &operator=(const Tparameter &) = delete;

    // Extension point for evaluating a parameter from a profile. The tester's
    // own values are authoritative, so no kind changes anything here.
    virtual void Evaluate(const double *profile, const ProfileDescriptor &descriptor);

    QString ParamName;
    QString ParamCaption;
    double ParamValue = 0;
    QString ParamUnit;
};

// Copies name, value and unit; the destination keeps its own caption.
void tparameter_copy(Tparameter &destination, const Tparameter &source);

#define PX510_PARAMETER_KIND(Class, Name, Caption, Unit)                                                               \
    class Class : public Tparameter {                                                                                  \
    public:                                                                                                            \
        Class() : Tparameter(QStringLiteral(Name), QStringLiteral(Caption), QStringLiteral(Unit)) {}                   \
    };

PX510_PARAMETER_KIND(TRa, "Ra", "Ra", "μm")
PX510_PARAMETER_KIND(TRq, "Rq", "Rq", "μm")
PX510_PARAMETER_KIND(TRz, "Rz", "Rz", "μm")
PX510_PARAMETER_KIND(TR3z, "R3z", "R3z", "μm")
PX510_PARAMETER_KIND(TRyi, "Ryi", "Ryi", "μm")
PX510_PARAMETER_KIND(TRyd, "Ryt", "", "μm")
PX510_PARAMETER_KIND(TRt, "Rt", "Rt", "μm")
PX510_PARAMETER_KIND(TRp, "Rp", "Rp", "μm")
PX510_PARAMETER_KIND(TRv, "Rv", "Rv", "μm")
PX510_PARAMETER_KIND(TS, "S", "RS", "mm")
PX510_PARAMETER_KIND(TSm, "Sm", "RSm", "mm")
PX510_PARAMETER_KIND(TSk, "Sk", "RSk", "")
#undef PX510_PARAMETER_KIND

class Tparameters {
public:
    static constexpr int SlotCount = 20;
    Tparameters() { ParamSlots.fill(nullptr); }
    Tparameters(const Tparameters &) = delete;
    Tparameters &operator=(const Tparameters &) = delete;

    int ParamCount = 0;
    std::array<Tparameter *, SlotCount> ParamSlots;

protected:
    // Fills the slots in display order and sets the count.
    void setSlots(std::initializer_list<Tparameter *> members);
};

// The tester's own twelve results.
class TPX510parameters : public Tparameters {
public:
    TPX510parameters();
    TRa Ra;
    TRq Rq;
    TRz Rz;
    TR3z R3z;
    TRyi Ryi;
    TRyd Ryd;
    TRt Rt;
    TRp Rp;
    TRv Rv;
    TS S;
    TSm Sm;
    TSk Sk;
    // The twelve in the order they travel in reports, files and database rows.
    std::array<Tparameter *, 12> InReportOrder();
};

class TISOparameters : public Tparameters {
public:
    TISOparameters();
    TRa Ra;
    TRq Rq;
    TRyi Rz;
    TRt Rt;
    TRp Rp;
    TRv Rv;
    TS S;
    TSm Sm;
    TSk Sk;
};

class TDINparameters : public Tparameters {
public:
    TDINparameters();
    TRa Ra;
    TRq Rq;
    TRyd Rz;
    TRt Ry;
    TRt Rmax;
    TS S;
    TSm Sm;
};

class JISparameters : public Tparameters {
public:
    JISparameters();
    TRa Ra;
    TRq Rq;
    TRz Rz;
    TR3z R3z;
    TRyi Ry;
    TRt Rt;
    TRp Rp;
    TS S;
    TSm Sm;
};

class TANSIparameters : public Tparameters {
public:
    TANSIparameters();
    TRa Ra;
    TRq Rq;
    TRz Rz;
    TRyi Rmax;
    TRyi Rt;
    TS S;
    TSm Sm;
};

// Appends the listing of a set, `perLine` parameters a line, each as
// "%20s =%8.3f%-8s" with widths counted in GB2312 bytes, "\r\n" after each line.
void ParametersToText(const Tparameters &set, int perLine, QString &text);
