// The video renderers: what they take, the frame they keep and show in their video window,
// the graph's video window applied to it, and the Overlay Mixer and colour converter in front.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <string>

#include "DShowStreamFilters.h"
#include "amvideo.h"
#include "platform/display.h"
#include "platform/dshow/StreamConfigMixin.h"
#include "platform/testoperator.h"
#include "platform/winuser.h"

namespace dshowtest {
namespace {

constexpr LONG kWidth = 720, kHeight = 576;

// Eight bars (white, yellow, cyan, green, magenta, red, blue, black) as R, G, B.
const BYTE kBars[8][3] = {{235, 235, 235}, {235, 235, 16}, {16, 235, 235}, {16, 235, 16},
                          {235, 16, 235},  {235, 16, 16},  {16, 16, 235},  {16, 16, 16}};

BYTE Clip(int v) { return BYTE(std::clamp(v, 0, 255)); }

// A YUY2 colour-bar frame (BT.601).
void FillBars(ULONGLONG, BYTE* data, long size) {
    for (LONG y = 0; y < kHeight; ++y) {
        for (LONG x = 0; x < kWidth; x += 2) {
            const BYTE* c = kBars[x * 8 / kWidth];
            int r = c[0], g = c[1], b = c[2];
            BYTE luma = Clip(((66 * r + 129 * g + 25 * b + 128) >> 8) + 16);
            BYTE u = Clip(((-38 * r - 74 * g + 112 * b + 128) >> 8) + 128);
            BYTE v = Clip(((112 * r - 94 * g - 18 * b + 128) >> 8) + 128);
            BYTE* q = data + (size_t(y) * kWidth + x) * 2;
            if (q + 4 > data + size) return;
            q[0] = luma, q[1] = u, q[2] = luma, q[3] = v;
        }
    }
}

LRESULT CALLBACK OwnerProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcA(w, m, wp, lp); }

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

HWND FindVideoWindow(HWND parent) {
    struct Search {
        HWND found = nullptr;
    } search;
    auto check = [](HWND w, LPARAM p) -> BOOL {
        char name[64] = {};
        GetClassNameA(w, name, sizeof name);
        if (std::string(name) != "VideoRenderer") return TRUE;
        reinterpret_cast<Search*>(p)->found = w;
        return FALSE;
    };
    if (parent)
        EnumChildWindows(parent, check, LPARAM(&search));
    else
        EnumThreadWindows(GetCurrentThreadId(), check, LPARAM(&search));
    return search.found;
}

class VideoRendererTest : public DShowTest {
protected:
    CComPtr<IGraphBuilder> graph = Create<IGraphBuilder>(CLSID_FilterGraph);
    CComPtr<IMediaControl> control = As<IMediaControl>(graph);
    CComPtr<IVideoWindow> window = As<IVideoWindow>(graph);
    TestSource* source = nullptr;
    CComPtr<IBaseFilter> src;

    void AddBarSource(REFGUID subtype = MEDIASUBTYPE_YUY2, WORD bits = 16) {
        src = Make(&source, platform::dshow::VideoInfoType(subtype, kWidth, kHeight, bits), 40, 0,
                   kWidth * kHeight * bits / 8);
        source->fill = FillBars;
        ASSERT_EQ(graph->AddFilter(src, L"Bars"), S_OK);
    }
    CComPtr<IBaseFilter> AddFilter(REFCLSID clsid, const wchar_t* name) {
        auto filter = Create<IBaseFilter>(clsid);
        EXPECT_EQ(graph->AddFilter(filter, name), S_OK);
        return filter;
    }
    std::vector<BYTE> CurrentImage() {
        auto video = As<IBasicVideo>(graph);
        long size = 0;
        EXPECT_EQ(video->GetCurrentImage(&size, nullptr), S_OK);
        std::vector<BYTE> dib(size_t(std::max(size, 0L)));
        EXPECT_EQ(video->GetCurrentImage(&size, reinterpret_cast<long*>(dib.data())), S_OK);
        return dib;
    }
    // The source's frame as a Video Renderer behind the Overlay Mixer keeps it.
    std::vector<BYTE> ThroughOverlayMixer() {
        auto mixer = AddFilter(CLSID_OverlayMixer, L"Overlay");
        auto renderer = AddFilter(CLSID_VideoRenderer, L"Video Render");
        EXPECT_EQ(Join(graph, src, L"Out", mixer, L"Input0"), S_OK);
        EXPECT_EQ(Join(graph, mixer, L"Output", renderer, L"Input"), S_OK);
        EXPECT_EQ(control->Run(), S_OK);
        Sleep(50);
        EXPECT_EQ(control->Stop(), S_OK);
        return CurrentImage();
    }
    // Each bar's centre in the frame kept, within `tolerance` per channel of the bar's colour.
    void ExpectBars(const std::vector<BYTE>& dib, int tolerance = 2) {
        ASSERT_GE(dib.size(), sizeof(BITMAPINFOHEADER));
        BITMAPINFOHEADER h;
        std::memcpy(&h, dib.data(), sizeof h);
        ASSERT_EQ(h.biWidth, kWidth);
        ASSERT_EQ(h.biHeight, kHeight);
        ASSERT_EQ(h.biBitCount, 32);
        ASSERT_EQ(dib.size(), sizeof h + size_t(kWidth) * kHeight * 4);
        for (int bar = 0; bar < 8; ++bar) {
            LONG x = bar * kWidth / 8 + kWidth / 16, y = kHeight / 2;
            const BYTE* px = dib.data() + sizeof h + (size_t(y) * kWidth + x) * 4;
            for (int c = 0; c < 3; ++c)
                EXPECT_NEAR(px[2 - c], kBars[bar][c], tolerance) << "bar " << bar << " channel " << c;
        }
    }
};

TEST_F(VideoRendererTest, ColourBarsShowInAnOwnerWindowAndAnswerGetCurrentImage) {
    AddBarSource();
    auto vmr = AddFilter(CLSID_VideoMixingRenderer9, L"VMR");
    ASSERT_EQ(Join(graph, src, L"Out", vmr, L"VMR Input0"), S_OK);
    // The renderer keeps the latest sample: the connection's allocator has a buffer more for it.
    CComPtr<IMemAllocator> allocator;
    ALLOCATOR_PROPERTIES props{};
    ASSERT_EQ(As<IMemInputPin>(PinOf(vmr, L"VMR Input0"))->GetAllocator(&allocator), S_OK);
    allocator->GetProperties(&props);
    EXPECT_EQ(props.cBuffers, 2);
    WNDCLASSA wc{};
    wc.lpfnWndProc = OwnerProc;
    wc.lpszClassName = "VideoOwner";
    RegisterClassA(&wc);
    HWND owner = CreateWindowExA(0, "VideoOwner", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 320, nullptr,
                                 nullptr, nullptr, nullptr);
    ASSERT_EQ(window->put_Owner(OAHWND(owner)), S_OK);
    ASSERT_EQ(window->put_WindowStyle(WS_CHILD | WS_CLIPCHILDREN), S_OK);
    ASSERT_EQ(window->SetWindowPosition(0, 0, 360, 288), S_OK);

    ASSERT_EQ(control->Run(), S_OK);
    Sleep(210);
    PumpMessages();
    HWND video = FindVideoWindow(owner);
    ASSERT_NE(video, nullptr);
    EXPECT_EQ(GetParent(video), owner);
    EXPECT_TRUE(GetWindowLongPtrA(video, GWL_STYLE) & WS_CHILD);
    EXPECT_TRUE(IsWindowVisible(video));
    RECT client;
    GetClientRect(video, &client);
    EXPECT_EQ(client.right - client.left, 360);
    EXPECT_EQ(client.bottom - client.top, 288);
    ExpectBars(CurrentImage());
    // The painted window: the frame scaled down to 360 x 288 over the owner's client area.
    platform::TestOperator op;
    platform::Screenshot shot = op.TakeScreenshot(owner);
    ASSERT_GE(shot.width, 360);
    ASSERT_GE(shot.height, 288);
    for (int bar = 0; bar < 8; ++bar) {
        const uint32_t px = shot.At(bar * 360 / 8 + 360 / 16, 144);
        const BYTE rgb[3] = {BYTE(px >> 16), BYTE(px >> 8), BYTE(px)};
        for (int c = 0; c < 3; ++c) EXPECT_NEAR(rgb[c], kBars[bar][c], 2) << "painted bar " << bar << " channel " << c;
    }
    int drawn = 0, dropped = 0;
    auto quality = As<IQualProp>(vmr);
    ASSERT_TRUE(quality);
    quality->get_FramesDrawn(&drawn);
    quality->get_FramesDroppedInRenderer(&dropped);
    EXPECT_EQ(drawn, 6);  // each frame drawn as it came (0, 40, ... 200 ms), on the streaming thread
    EXPECT_EQ(dropped, 0);
    ASSERT_EQ(control->Stop(), S_OK);
    ExpectBars(CurrentImage());  // the sample given back at Stop, its copy kept
    ASSERT_EQ(window->put_Owner(0), S_OK);
    DestroyWindow(owner);
}

// The rule a shown pixel follows, written out per pixel: source pixel (x, y) of a 720x576 frame
// of `bits` (green bits `green` of 16-bit RGB) as 0x00RRGGBB; YUV by BT.601 in integers.
uint32_t SourcePixel(REFGUID subtype, int bits, int green, const BYTE* frame, LONG x, LONG y) {
    if (IsEqualGUID(subtype, MEDIASUBTYPE_YUY2) || IsEqualGUID(subtype, MEDIASUBTYPE_UYVY)) {
        const int k = IsEqualGUID(subtype, MEDIASUBTYPE_UYVY);
        const BYTE* pair = frame + (size_t(y) * kWidth + size_t(x & ~1)) * 2;
        const int c = 298 * (pair[k + 2 * (x & 1)] - 16) + 128, d = pair[1 - k] - 128, e = pair[3 - k] - 128;
        return uint32_t(Clip((c + 409 * e) >> 8) << 16 | Clip((c - 100 * d - 208 * e) >> 8) << 8 | Clip((c + 516 * d) >> 8));
    }
    const BYTE* p = frame + size_t(kHeight - 1 - y) * size_t(kWidth * bits / 8) + size_t(x * bits / 8);
    if (bits > 16) return uint32_t(p[2] << 16 | p[1] << 8 | p[0]);
    const unsigned v = p[0] | p[1] << 8, most = (1u << green) - 1;
    return ((v >> (5 + green)) & 31) * 255 / 31 << 16 | ((v >> 5) & most) * 255 / most << 8 | (v & 31) * 255 / 31;
}

// Every pixel the video window shows, at the preview sizes (and one whose rows end in a part of
// eight pixels) and from each format, is the source pixel nearest its centre (as a COLORONCOLOR
// stretch takes it) converted by the rule; packed YUV also with the vectors limited to each set.
TEST_F(VideoRendererTest, EveryPixelShownIsTheNearestSourcePixelConverted) {
    struct Format {
        GUID subtype;
        int bits, green;
        const char* vectors = nullptr;  // PELVATRO_VECTORS
    };
    auto fill = [](ULONGLONG, BYTE* data, long size) {
        for (long i = 0; i < size; ++i) data[i] = BYTE((uint32_t(i) * 2654435761u) >> 13);
    };
    std::vector<BYTE> frame(size_t(kWidth) * kHeight * 4);
    fill(0, frame.data(), long(frame.size()));
    WNDCLASSA wc{};
    wc.lpfnWndProc = OwnerProc;
    wc.lpszClassName = "VideoOwner";
    RegisterClassA(&wc);
    HWND owner = CreateWindowExA(0, "VideoOwner", "owner", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight, nullptr,
                                 nullptr, nullptr, nullptr);
    std::vector<Format> formats{{MEDIASUBTYPE_RGB32, 32, 0},  {MEDIASUBTYPE_RGB24, 24, 0},
                                {MEDIASUBTYPE_RGB565, 16, 6}, {MEDIASUBTYPE_RGB555, 16, 5}};
    for (const char* vectors : {static_cast<const char*>(nullptr), "sse2", "ssse3", "avx2"})
        for (GUID yuv : {MEDIASUBTYPE_YUY2, MEDIASUBTYPE_UYVY}) formats.push_back({yuv, 16, 0, vectors});
    for (const Format& f : formats) {
        if (f.vectors) setenv("PELVATRO_VECTORS", f.vectors, 1);
        graph = Create<IGraphBuilder>(CLSID_FilterGraph);
        control = As<IMediaControl>(graph);
        window = As<IVideoWindow>(graph);
        AddBarSource(f.subtype, WORD(f.bits));
        source->fill = fill;
        auto vmr = AddFilter(CLSID_VideoMixingRenderer9, L"VMR");
        ASSERT_EQ(Join(graph, src, L"Out", vmr, L"VMR Input0"), S_OK);
        ASSERT_EQ(window->put_Owner(OAHWND(owner)), S_OK);
        ASSERT_EQ(window->put_WindowStyle(WS_CHILD), S_OK);
        ASSERT_EQ(control->Run(), S_OK);
        Sleep(50);
        for (auto [width, height] : {std::pair{360, 288}, {320, 240}, {720, 576}, {355, 201}}) {
            ASSERT_EQ(window->SetWindowPosition(0, 0, width, height), S_OK);
            const platform::Screenshot shot = platform::TestOperator().TakeScreenshot(FindVideoWindow(owner));
            ASSERT_EQ(shot.width, width);
            ASSERT_EQ(shot.height, height);
            long wrong = 0, first = -1;
            for (LONG y = 0; y < height; ++y)
                for (LONG x = 0; x < width; ++x)
                    if (shot.At(x, y) != SourcePixel(f.subtype, f.bits, f.green, frame.data(), (2 * x + 1) * kWidth / (2 * width),
                                                     (2 * y + 1) * kHeight / (2 * height)) &&
                        wrong++ == 0)
                        first = y * width + x;
            EXPECT_EQ(wrong, 0) << f.bits << "-bit " << f.subtype.Data1 << " at " << width << "x" << height
                                << " (vectors " << (f.vectors ? f.vectors : "widest") << "), first at "
                                << first % width << "," << first / width;
        }
        ASSERT_EQ(control->Stop(), S_OK);
        ASSERT_EQ(window->put_Owner(0), S_OK);
        unsetenv("PELVATRO_VECTORS");
    }
    DestroyWindow(owner);
}

// The program's start takes each vector set PELVATRO_VECTORS may name and refuses any other
// value with one line on stderr and exit code 2.
TEST(VectorSetting, AnUnknownSetIsRefusedAtTheProgramsStart) {
    struct Row {
        const char* value;
        int exitCode;
        const char* said;  // in the one line on stderr; null: nothing said
    };
    for (const Row& row : {Row{"avx512", 0, nullptr}, Row{"sse2", 0, nullptr}, Row{"avx9", 2, "PELVATRO_VECTORS=avx9"},
                           Row{"", 0, nullptr}}) {
        int err[2];
        ASSERT_EQ(pipe(err), 0);
        const pid_t pid = fork();
        if (pid == 0) {
            dup2(err[1], STDERR_FILENO);
            setenv("PELVATRO_VECTORS", row.value, 1);
            platform::StartMachineDefaultDisplay();
            platform::StopDisplay();
            _exit(0);
        }
        close(err[1]);
        std::string said;
        char buffer[256];
        for (ssize_t n; (n = read(err[0], buffer, sizeof buffer)) > 0;) said.append(buffer, size_t(n));
        close(err[0]);
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFEXITED(status)) << row.value;
        EXPECT_EQ(WEXITSTATUS(status), row.exitCode) << row.value;
        if (row.said) {
            EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
            EXPECT_NE(said.find(row.said), std::string::npos) << said;
        } else {
            EXPECT_EQ(said, "") << row.value;
        }
    }
}

TEST_F(VideoRendererTest, WithoutAnOwnerTheRendererHasATopLevelWindowThatShowsNoFrameWhileHidden) {
    AddBarSource();
    auto renderer = AddFilter(CLSID_VideoRenderer, L"Video Render");
    ASSERT_EQ(Join(graph, src, L"Out", renderer, L"Input"), S_OK);
    ASSERT_EQ(control->Run(), S_OK);
    Sleep(50);
    PumpMessages();
    HWND video = FindVideoWindow(nullptr);
    ASSERT_NE(video, nullptr);
    EXPECT_EQ(GetParent(video), nullptr);
    EXPECT_TRUE(GetWindowLongPtrA(video, GWL_STYLE) & WS_CAPTION);
    EXPECT_TRUE(IsWindowVisible(video));
    ASSERT_EQ(window->put_Visible(OAFALSE), S_OK);
    EXPECT_FALSE(IsWindowVisible(video));
    // Hidden, the window shows no frame; shown again, its paint shows the latest.
    auto quality = As<IQualProp>(renderer);
    int before = 0, hidden = 0, shown = 0;
    quality->get_FramesDrawn(&before);
    Sleep(120);
    PumpMessages();
    quality->get_FramesDrawn(&hidden);
    EXPECT_EQ(hidden, before);
    ASSERT_EQ(window->put_Visible(OATRUE), S_OK);
    PumpMessages();
    quality->get_FramesDrawn(&shown);
    EXPECT_EQ(shown, before + 1);
    ASSERT_EQ(control->Stop(), S_OK);
}

TEST_F(VideoRendererTest, TheLogDisplaySaysWhenAVideoWindowStartsAndStopsShowingFrames) {
    std::vector<std::string> lines;
    auto display = platform::MakeLogDisplay([&](const std::string& line) { lines.push_back(line); }, 100000);
    platform::Display* log = display.get();
    platform::SetDisplay(std::move(display));
    AddBarSource();
    auto renderer = AddFilter(CLSID_VideoRenderer, L"Video Render");
    ASSERT_EQ(Join(graph, src, L"Out", renderer, L"Input"), S_OK);
    ASSERT_EQ(control->Run(), S_OK);
    for (int i = 0; i < 5; ++i) {
        Sleep(40);
        PumpMessages();
        log->Idle();
    }
    ASSERT_EQ(control->Stop(), S_OK);
    log->Idle();  // the frames shown on the streaming thread since the last look
    Sleep(1100);
    log->Idle();
    platform::StopDisplay();
    auto has = [&](const std::string& text) {
        return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l == text; });
    };
    EXPECT_TRUE(has("video \"ActiveMovie Window\": showing 720x576"));
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& l) {
        return l.rfind("video \"ActiveMovie Window\": stopped, ", 0) == 0;
    }));
}

TEST_F(VideoRendererTest, OverlayMixerAndColourConverterChainsShowTheSameFrame) {
    AddBarSource();
    ExpectBars(ThroughOverlayMixer());

    // The colour converter's RGB24 output from UYVY.
    CComPtr<IGraphBuilder> second = Create<IGraphBuilder>(CLSID_FilterGraph);
    graph = second;
    control = As<IMediaControl>(graph);
    AddBarSource(MEDIASUBTYPE_UYVY);
    source->fill = [](ULONGLONG i, BYTE* data, long size) {
        FillBars(i, data, size);
        for (long k = 0; k + 1 < size; k += 2) std::swap(data[k], data[k + 1]);  // YUY2 into UYVY
    };
    auto converter = AddFilter(CLSID_Colour, L"Colour");
    auto vmr = AddFilter(CLSID_VideoMixingRenderer9, L"VMR");
    ASSERT_EQ(Join(graph, src, L"Out", converter, L"Input"), S_OK);
    auto rgb24 = platform::dshow::VideoInfoType(MEDIASUBTYPE_RGB24, kWidth, kHeight, 24);
    ASSERT_EQ(graph->ConnectDirect(PinOf(converter, L"XForm Out"), PinOf(vmr, L"VMR Input0"), &rgb24.Get()), S_OK);
    ASSERT_EQ(control->Run(), S_OK);
    Sleep(50);
    ASSERT_EQ(control->Stop(), S_OK);
    ExpectBars(CurrentImage());
}

// RGB565 bars through the Overlay Mixer: the overlay type carries the 5-6-5 bit fields.
TEST_F(VideoRendererTest, Rgb565KeepsItsBitFieldsThroughTheOverlayMixer) {
    AddBarSource(MEDIASUBTYPE_RGB565, 16);
    source->fill = [](ULONGLONG, BYTE* data, long size) {
        for (long i = 0; i + 1 < size; i += 2) {
            const BYTE* c = kBars[(i / 2) % kWidth * 8 / kWidth];
            const unsigned p = (c[2] >> 3) | ((c[1] >> 2) << 5) | ((c[0] >> 3) << 11);
            data[i] = BYTE(p);
            data[i + 1] = BYTE(p >> 8);
        }
    };
    ExpectBars(ThroughOverlayMixer(), 4);  // five bits of red and blue, six of green
}

// A capture source whose YUY2 frames (mid grey) have the size its pin's format sets.
class CaptureSource : public SourceBase {
public:
    CaptureSource() : SourceBase(CLSID_TestSource) {
        VIDEO_STREAM_CONFIG_CAPS caps = {};
        caps.guid = FORMAT_VideoInfo;
        CComPtr<platform::dshow::StreamConfigPin> pin;
        pin.Attach(new platform::dshow::StreamConfigPin(
            this, Out(L"Capture", {}, PIN_CATEGORY_CAPTURE),
            {platform::dshow::StreamCapability::Video(platform::dshow::VideoInfoType(MEDIASUBTYPE_YUY2, kWidth, kHeight, 16),
                                                      caps)}));
        AddPin(pin);
        m_pin = pin;
    }

protected:
    REFERENCE_TIME SampleTime(PinBase*, ULONGLONG index) override { return REFERENCE_TIME(index) * 400000; }
    HRESULT FillSample(PinBase*, ULONGLONG, IMediaSample* sample) override {
        const MediaType current = m_pin->CurrentFormat();
        const auto* format = current.FormatAs<VIDEOINFOHEADER>();
        const long size = long(format->bmiHeader.biWidth * format->bmiHeader.biHeight * 2);
        if (size > sample->GetSize()) return VFW_E_BUFFER_OVERFLOW;
        BYTE* data;
        sample->GetPointer(&data);
        std::fill(data, data + size, BYTE(128));
        return sample->SetActualDataLength(size);
    }

private:
    platform::dshow::StreamConfigPin* m_pin;  // the filter's own
};

// A format set on the connected capture pin reaches the renderer behind the converter, the tee
// and the Overlay Mixer: each connects again with it, and the frames shown have the new size.
TEST_F(VideoRendererTest, ANewCaptureSizeReachesTheRendererThroughTheFiltersBetween) {
    struct Between {
        CLSID clsid;
        const wchar_t* in;
        const wchar_t* out;
    };
    for (const Between& between : {Between{CLSID_Colour, L"Input", L"XForm Out"}, Between{CLSID_InfTee, L"Input", L"Output1"},
                                   Between{CLSID_OverlayMixer, L"Input0", L"Output"}}) {
        graph = Create<IGraphBuilder>(CLSID_FilterGraph);
        control = As<IMediaControl>(graph);
        src = Make<CaptureSource>(nullptr);
        ASSERT_EQ(graph->AddFilter(src, L"Capture"), S_OK);
        auto middle = AddFilter(between.clsid, L"Between");
        auto vmr = AddFilter(CLSID_VideoMixingRenderer9, L"VMR");
        ASSERT_EQ(Join(graph, src, L"Capture", middle, between.in), S_OK);
        ASSERT_EQ(Join(graph, middle, between.out, vmr, L"VMR Input0"), S_OK);
        ASSERT_EQ(control->Run(), S_OK);
        Sleep(100);
        ASSERT_EQ(control->Stop(), S_OK);

        auto smaller = platform::dshow::VideoInfoType(MEDIASUBTYPE_YUY2, 352, 288, 16);
        ASSERT_EQ(As<IAMStreamConfig>(PinOf(src, L"Capture"))->SetFormat(const_cast<AM_MEDIA_TYPE*>(&smaller.Get())),
                  S_OK);
        ASSERT_EQ(control->Run(), S_OK);
        Sleep(100);
        EXPECT_FALSE(WaitForEvent(graph, EC_ERRORABORT, 1));
        ASSERT_EQ(control->Stop(), S_OK);
        auto dib = CurrentImage();
        ASSERT_GE(dib.size(), sizeof(BITMAPINFOHEADER));
        BITMAPINFOHEADER h;
        std::memcpy(&h, dib.data(), sizeof h);
        EXPECT_EQ(h.biWidth, 352);
        EXPECT_EQ(h.biHeight, 288);
    }
}

TEST_F(VideoRendererTest, PlanarAndPaletteVideoIsRefusedAtConnection) {
    for (auto [subtype, bits] : {std::pair{MEDIASUBTYPE_I420, WORD(12)}, {MEDIASUBTYPE_YV12, WORD(12)},
                                 {MEDIASUBTYPE_RGB8, WORD(8)}}) {
        auto planar = Make<TestSource>(nullptr, platform::dshow::VideoInfoType(subtype, 320, 240, bits), 40, 0, 1000);
        ASSERT_EQ(graph->AddFilter(planar, L"Planar"), S_OK);
        auto vmr = AddFilter(CLSID_VideoMixingRenderer9, L"VMR");
        EXPECT_TRUE(FAILED(Join(graph, planar, L"Out", vmr, L"VMR Input0")));
        EXPECT_EQ(PinOf(vmr, L"VMR Input0")->QueryAccept(&platform::dshow::VideoInfoType(subtype, 320, 240, bits).Get()),
                  S_FALSE);
        // Nor does intelligent connect find a converter for it.
        EXPECT_TRUE(FAILED(graph->Connect(PinOf(planar, L"Out"), PinOf(vmr, L"VMR Input0"))));
        graph->RemoveFilter(planar);
        graph->RemoveFilter(vmr);
    }
}

// Straight to the renderer and through the colour converter, which carries the change on.
TEST_F(VideoRendererTest, ASampleThatChangesThePictureSizeReportsVideoSizeChanged) {
    for (bool converted : {false, true}) {
        graph = Create<IGraphBuilder>(CLSID_FilterGraph);
        control = As<IMediaControl>(graph);
        AddBarSource(MEDIASUBTYPE_RGB32, 32);
        source->fill = nullptr;
        // From the third sample on, the picture is 320 x 240.
        source->decorate = [](ULONGLONG index, IMediaSample* sample) {
            if (index != 2) return;
            auto smaller = platform::dshow::VideoInfoType(MEDIASUBTYPE_RGB32, 320, 240, 32);
            sample->SetMediaType(const_cast<AM_MEDIA_TYPE*>(&smaller.Get()));
        };
        auto vmr = AddFilter(CLSID_VideoMixingRenderer9, L"VMR");
        if (converted) {
            auto converter = AddFilter(CLSID_Colour, L"Colour");
            ASSERT_EQ(Join(graph, src, L"Out", converter, L"Input"), S_OK);
            ASSERT_EQ(Join(graph, converter, L"XForm Out", vmr, L"VMR Input0"), S_OK);
        } else {
            ASSERT_EQ(Join(graph, src, L"Out", vmr, L"VMR Input0"), S_OK);
        }
        ASSERT_EQ(control->Run(), S_OK);
        LONG_PTR size = 0;
        ASSERT_TRUE(WaitForEvent(graph, EC_VIDEO_SIZE_CHANGED, 1000, &size)) << converted;
        EXPECT_EQ(size, MAKELONG(320, 240));
        EXPECT_FALSE(WaitForEvent(graph, EC_ERRORABORT, 100));
        ASSERT_EQ(control->Stop(), S_OK);
        auto dib = CurrentImage();
        BITMAPINFOHEADER h;
        std::memcpy(&h, dib.data(), sizeof h);
        EXPECT_EQ(h.biWidth, 320);
        EXPECT_EQ(h.biHeight, 240);
    }
}

}  // namespace
}  // namespace dshowtest
