#include <gtest/gtest.h>
#include <cmath>
#include <cstdio>
#include "core/station_qc.h"
#include "device/device_controller.h"
#include "device/device_frame.h"
#include "devsim/replies.h"
#include "devsim/scenario.h"
namespace orb {
static std::vector<SurveyRecord> Dl(const devsim::Scenario& s) {
    std::vector<SurveyRecord> records;
    for (std::size_t i = 0; i < s.samples.size(); ++i) {
        auto data = devsim::SampleData(static_cast<int32_t>(i), s.samples[i]);
        records.push_back(RecordFromSample(*ReadStoredSample(BuildReplyFrame(0x03, data)), s.calibration, s.toolFaceOffset));
    }
    return records;
}
static void Spread(const std::vector<SurveyRecord>& r, int a, int b, double out[5]) {
    double g=0,m=0,inc=0,az=0;
    for (int i=a;i<=b;++i) for (int j=a;j<=b;++j) {
        g=std::max({g,(double)std::fabs(r[i].gx-r[j].gx),(double)std::fabs(r[i].gy-r[j].gy),(double)std::fabs(r[i].gz-r[j].gz)});
        m=std::max({m,(double)std::fabs(r[i].mx-r[j].mx),(double)std::fabs(r[i].my-r[j].my),(double)std::fabs(r[i].mz-r[j].mz)});
        inc=std::max(inc,(double)std::fabs(r[i].inclination-r[j].inclination));
        double d=std::fabs(r[i].azimuth-r[j].azimuth); if(d>180) d=360-d; az=std::max(az,d);
    }
    out[0]=g*1000; out[1]=m*52326; out[2]=inc; out[3]=az; out[4]=r[a].inclination;
}
TEST(Scratch, Stats) {
    auto s = devsim::LoadScenario(ORB_SOURCE_DIR "/tools/devsim/scenarios/multishot_still.json", 1749300000);
    auto r = Dl(s);
    for (auto& seg : s.segments) {
        double o[5]; Spread(r, seg.first, seg.last, o);
        double mn[5]={1e9,1e9,1e9,1e9,0};
        for (int i=seg.first;i<seg.last;++i){double p[5];Spread(r,i,i+1,p);for(int k=0;k<4;++k)mn[k]=std::min(mn[k],p[k]);}
        std::printf("%-9s %3d-%3d  whole: g %.2f mg m %.0f nT inc %.3f az %.3f (inc %.1f)  min pair: g %.2f m %.0f inc %.3f az %.3f\n", devsim::SegmentKindName(seg.kind), seg.first, seg.last, o[0],o[1],o[2],o[3],o[4], mn[0],mn[1],mn[2],mn[3]);
    }
    auto d = devsim::DefaultScenario(1749300000);
    auto rd = Dl(d);
    double worst[4]={0,0,0,0};
    for (int i=0;i<60;++i){double o[5];Spread(rd,i*7+3,i*7+6,o);for(int k=0;k<4;++k)worst[k]=std::max(worst[k],o[k]);}
    std::printf("default well worst stop: g %.2f mg m %.0f nT inc %.3f az %.3f\n",worst[0],worst[1],worst[2],worst[3]);
}
}
