<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>Command</name>
    <message>
        <source>打开(&amp;O)...	Ctrl+O</source>
        <translation>&amp;Open...	Ctrl+O</translation>
    </message>
    <message>
        <source>打开现有文档
打开</source>
        <translation>Open an existing survey
Open</translation>
    </message>
    <message>
        <source>保存(&amp;S)	Ctrl+S</source>
        <translation>&amp;Save	Ctrl+S</translation>
    </message>
    <message>
        <source>保存活动文档
保存</source>
        <translation>Save the survey
Save</translation>
    </message>
    <message>
        <source>另存为(&amp;A)...</source>
        <translation>Save &amp;As...</translation>
    </message>
    <message>
        <source>用新名称保存活动文档
另存为</source>
        <translation>Save the survey under a new name
Save As</translation>
    </message>
    <message>
        <source>导出文本文件</source>
        <translation>Export Text File</translation>
    </message>
    <message>
        <source>导出Excel表格</source>
        <translation>Export Excel Workbook</translation>
    </message>
    <message>
        <source>打印(&amp;P)...	Ctrl+P</source>
        <translation>&amp;Print...	Ctrl+P</translation>
    </message>
    <message>
        <source>打印活动文档
打印</source>
        <translation>Print the survey report
Print</translation>
    </message>
    <message>
        <source>打印预览(&amp;V)</source>
        <translation>Print Pre&amp;view</translation>
    </message>
    <message>
        <source>显示整页
打印预览</source>
        <translation>Show the report pages
Print Preview</translation>
    </message>
    <message>
        <source>打印设置(&amp;R)...</source>
        <translation>P&amp;rint Setup...</translation>
    </message>
    <message>
        <source>更改打印机选项和打印选项
打印设置</source>
        <translation>Change the printer and printing options
Print Setup</translation>
    </message>
    <message>
        <source>最近的文件</source>
        <translation>Recent Files</translation>
    </message>
    <message>
        <source>打开此文档</source>
        <translation>Open this survey</translation>
    </message>
    <message>
        <source>退出(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>退出应用程序；提示保存文档
退出</source>
        <translation>Quit Orb; asks to save the survey
Exit</translation>
    </message>
    <message>
        <source>端口选择</source>
        <translation>Select Port</translation>
    </message>
    <message>
        <source>通信测试</source>
        <translation>Communication Test</translation>
    </message>
    <message>
        <source>探管通信测试
通信测试</source>
        <translation>Test the communication with the probe
Communication Test</translation>
    </message>
    <message>
        <source>探管信息查询</source>
        <translation>Probe Information</translation>
    </message>
    <message>
        <source>时钟校准</source>
        <translation>Clock Calibration</translation>
    </message>
    <message>
        <source>探管时钟校准
时钟校准</source>
        <translation>Calibrate the probe clock
Clock Calibration</translation>
    </message>
    <message>
        <source>实时数据输出</source>
        <translation>Real-Time Data</translation>
    </message>
    <message>
        <source>输出探管实时数据
实时数据</source>
        <translation>Show the probe&apos;s real-time data
Real-Time Data</translation>
    </message>
    <message>
        <source>读取探管数据</source>
        <translation>Download Probe Data</translation>
    </message>
    <message>
        <source>读取探管历史数据
读取数据</source>
        <translation>Download the data stored in the probe
Download Data</translation>
    </message>
    <message>
        <source>工作模式设置</source>
        <translation>Work Mode</translation>
    </message>
    <message>
        <source>设置探管工作模式
工作模式</source>
        <translation>Set the probe&apos;s start delay and sample interval
Work Mode</translation>
    </message>
    <message>
        <source>连接测试</source>
        <translation>Connection Test</translation>
    </message>
    <message>
        <source>数据读取</source>
        <translation>Download Marks</translation>
    </message>
    <message>
        <source>清空数据</source>
        <translation>Clear Data</translation>
    </message>
    <message>
        <source>钻井参数输入</source>
        <translation>Well Parameters</translation>
    </message>
    <message>
        <source>输入钻井参数
钻井参数</source>
        <translation>Enter the well parameters
Well Parameters</translation>
    </message>
    <message>
        <source>井深自动计算</source>
        <translation>Compute Depths</translation>
    </message>
    <message>
        <source>自动计算井深
井深计算</source>
        <translation>Compute the station depths
Compute Depths</translation>
    </message>
    <message>
        <source>全部选择</source>
        <translation>Select All</translation>
    </message>
    <message>
        <source>全部不选择</source>
        <translation>Select None</translation>
    </message>
    <message>
        <source>反向选择</source>
        <translation>Invert Selection</translation>
    </message>
    <message>
        <source>显示全部数据</source>
        <translation>Show All Data</translation>
    </message>
    <message>
        <source>显示全部数据
全部数据</source>
        <translation>Show every sample
All Data</translation>
    </message>
    <message>
        <source>显示选中数据</source>
        <translation>Show Selected Data</translation>
    </message>
    <message>
        <source>显示选中数据
选中数据</source>
        <translation>Show the checked stations only
Selected Data</translation>
    </message>
    <message>
        <source>显示自动选中的数据</source>
        <translation>Show Automatically Selected Data</translation>
    </message>
    <message>
        <source>逆序显示</source>
        <translation>Reverse Order</translation>
    </message>
    <message>
        <source>&lt;占位符&gt;</source>
        <translation>&lt;placeholder&gt;</translation>
    </message>
    <message>
        <source>状态栏(&amp;S)</source>
        <translation>&amp;Status Bar</translation>
    </message>
    <message>
        <source>显示或隐藏状态栏
切换状态栏</source>
        <translation>Show or hide the status bar
Toggle Status Bar</translation>
    </message>
    <message>
        <source>蓝色样式(&amp;B)</source>
        <translation>&amp;Blue</translation>
    </message>
    <message>
        <source>黑色样式(&amp;L)</source>
        <translation>B&amp;lack</translation>
    </message>
    <message>
        <source>银色样式(&amp;S)</source>
        <translation>&amp;Silver</translation>
    </message>
    <message>
        <source>水绿色样式(&amp;A)</source>
        <translation>&amp;Aqua</translation>
    </message>
    <message>
        <source>帮助主题(&amp;H)</source>
        <translation>&amp;Help Topics</translation>
    </message>
    <message>
        <source>列出帮助主题
帮助主题</source>
        <translation>Show the user guide
Help Topics</translation>
    </message>
    <message>
        <source>关于 TALO(&amp;A)...</source>
        <translation>&amp;About TALO...</translation>
    </message>
    <message>
        <source>显示程序信息、版本号和版权信息
关于</source>
        <translation>Show the program information, version and copyright
About</translation>
    </message>
    <message>
        <source>数据补偿</source>
        <translation>Data Correction</translation>
    </message>
    <message>
        <source>新建</source>
        <translation>New</translation>
    </message>
    <message>
        <source>直接打印</source>
        <translation>Print Directly</translation>
    </message>
    <message>
        <source>帮助</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>上下文帮助</source>
        <translation>Context Help</translation>
    </message>
    <message>
        <source>默认帮助</source>
        <translation>Default Help</translation>
    </message>
    <message>
        <source>自定义...</source>
        <translation>Customize...</translation>
    </message>
    <message>
        <source>复制(&amp;C)	Ctrl+C</source>
        <translation>&amp;Copy	Ctrl+C</translation>
    </message>
    <message>
        <source>剪切(&amp;T)	Ctrl+X</source>
        <translation>Cu&amp;t	Ctrl+X</translation>
    </message>
    <message>
        <source>粘贴(&amp;P)	Ctrl+V</source>
        <translation>&amp;Paste	Ctrl+V</translation>
    </message>
    <message>
        <source>撤消(&amp;U)	Ctrl+Z</source>
        <translation>&amp;Undo	Ctrl+Z</translation>
    </message>
    <message>
        <source>重做(&amp;R)	Ctrl+Y</source>
        <translation>&amp;Redo	Ctrl+Y</translation>
    </message>
    <message>
        <source>下一窗格</source>
        <translation>Next Pane</translation>
    </message>
    <message>
        <source>上一窗格</source>
        <translation>Previous Pane</translation>
    </message>
</context>
<context>
    <name>Orb</name>
    <message>
        <source>没有打开该串口的权限。请把当前用户加入 dialout 组（sudo usermod -aG dialout $USER），然后重新登录。</source>
        <translation>No permission to open this serial port. Add your user to the dialout group (sudo usermod -aG dialout $USER), then log in again.</translation>
    </message>
    <message>
        <source>是(&amp;Y)</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>否(&amp;N)</source>
        <translation>&amp;No</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>模型 %1
磁偏角 D %2°   磁倾角 I %3°
总强度 F %4 nT   水平分量 H %5 nT
X %6 nT   Y %7 nT   Z %8 nT</source>
        <translation>Model %1
Declination D %2°   Dip I %3°
Total field F %4 nT   Horizontal H %5 nT
X %6 nT   Y %7 nT   Z %8 nT</translation>
    </message>
    <message>
        <source>Orb 测斜数据处理系统</source>
        <translation>Orb Borehole Survey Processing</translation>
    </message>
    <message>
        <source>是否保存更改?</source>
        <translation>Save the changes?</translation>
    </message>
    <message>
        <source>txt文件 (*.txt)</source>
        <translation>Text files (*.txt)</translation>
    </message>
    <message>
        <source>所有文件 (*.*)</source>
        <translation>All files (*.*)</translation>
    </message>
    <message>
        <source>Microsoft Office Excel 工作表(*.xls)</source>
        <translation>Microsoft Excel 97-2003 workbook (*.xls)</translation>
    </message>
    <message>
        <source>Microsoft Office Excel 工作簿(*.xlsx)</source>
        <translation>Microsoft Excel workbook (*.xlsx)</translation>
    </message>
    <message>
        <source>只能选择一组数据！</source>
        <translation>Select exactly one station for a single-shot printout!</translation>
    </message>
    <message>
        <source>没有可用的打印机。请先安装打印机，或在“打印”对话框中选择打印到文件。</source>
        <translation>No printer is available. Install a printer first, or choose printing to a file in the Print dialog.</translation>
    </message>
    <message>
        <source>测量质量设置</source>
        <translation>Survey Quality Settings</translation>
    </message>
    <message>
        <source>井斜 (°)</source>
        <translation>Inclination (°)</translation>
    </message>
    <message>
        <source>磁方位 (°)</source>
        <translation>Magnetic azimuth (°)</translation>
    </message>
    <message>
        <source>重力工具面 (°)</source>
        <translation>Gravity tool face (°)</translation>
    </message>
    <message>
        <source>静止段 %1：记录 %2–%3（%4 个样本），建议测点 %5</source>
        <translation>Still period %1: records %2–%3 (%4 samples), proposed station %5</translation>
    </message>
    <message>
        <source>从记录本身找出探管静止的时段，每段建议一个测点</source>
        <translation>Find the periods in which the probe was still from the records themselves and propose one station per period</translation>
    </message>
    <message>
        <source>按静止段选择测点</source>
        <translation>Select Stations by Still Periods</translation>
    </message>
    <message>
        <source>没有找到静止段：请检查静止段的限值（测量质量设置）</source>
        <translation>No still period found: check the still-period limits (Survey Quality Settings)</translation>
    </message>
    <message>
        <source>井眼轨迹</source>
        <translation>Well Trajectory</translation>
    </message>
</context>
<context>
    <name>core</name>
    <message>
        <source>格式化失败</source>
        <translation>Formatting failed</translation>
    </message>
    <message>
        <source>磁北</source>
        <translation>Magnetic north</translation>
    </message>
    <message>
        <source>网格北</source>
        <translation>Grid north</translation>
    </message>
    <message>
        <source>真北</source>
        <translation>True north</translation>
    </message>
    <message>
        <source>方位参考</source>
        <translation>North reference</translation>
    </message>
    <message>
        <source>总加速度超差: %1 (参考 %2 ± %3)</source>
        <translation>Total gravity out of tolerance: %1 (reference %2 ± %3)</translation>
    </message>
    <message>
        <source>地磁场强度超差: %1 (参考 %2 ± %3)</source>
        <translation>Field strength out of tolerance: %1 (reference %2 ± %3)</translation>
    </message>
    <message>
        <source>地磁倾角超差: %1 (参考 %2 ± %3)</source>
        <translation>Dip out of tolerance: %1 (reference %2 ± %3)</translation>
    </message>
    <message>
        <source>原始计数可能饱和（按标定反推）</source>
        <translation>Raw counts possibly saturated (estimated from the calibration)</translation>
    </message>
    <message>
        <source>原始计数饱和</source>
        <translation>Raw counts saturated</translation>
    </message>
    <message>
        <source>总加速度的容差必须是不小于 0 的数</source>
        <translation>The total gravity tolerance must be a number not below 0</translation>
    </message>
    <message>
        <source>地磁场强度的容差必须是不小于 0 的数</source>
        <translation>The field strength tolerance must be a number not below 0</translation>
    </message>
    <message>
        <source>地磁倾角的容差必须是不小于 0 的数</source>
        <translation>The dip tolerance must be a number not below 0</translation>
    </message>
    <message>
        <source>温度范围的下限不能大于上限</source>
        <translation>The lower temperature limit cannot be above the upper one</translation>
    </message>
    <message>
        <source>总加速度</source>
        <translation>Total gravity</translation>
    </message>
    <message>
        <source>地磁场强度</source>
        <translation>Field strength</translation>
    </message>
    <message>
        <source>地磁倾角</source>
        <translation>Dip</translation>
    </message>
    <message>
        <source>温度超出合理范围: %1 (范围 %2 ~ %3)</source>
        <translation>Temperature out of range: %1 (range %2 ~ %3)</translation>
    </message>
    <message>
        <source>同步器标记的测点不在任何静止段内，该测点可能是探管移动中测得的</source>
        <translation>the station marked by the synchronizer lies outside every still period; the probe may have been moving when it was taken</translation>
    </message>
    <message>
        <source>合格</source>
        <translation>Passed</translation>
    </message>
    <message>
        <source>超差</source>
        <translation>Out of tolerance</translation>
    </message>
    <message>
        <source>测量时探管未静止</source>
        <translation>Probe not still at survey</translation>
    </message>
    <message>
        <source>静止段的限值必须是不小于 0 的数</source>
        <translation>The still-period limits must be numbers not below 0</translation>
    </message>
    <message>
        <source>静止段至少需要 2 个连续样本</source>
        <translation>A still period needs at least 2 consecutive samples</translation>
    </message>
    <message>
        <source>静止段 %1 个，建议测点 %2 个</source>
        <translation>%1 still periods, %2 proposed stations</translation>
    </message>
    <message>
        <source>静止段 %1 个，建议测点 %2 个；同步器匹配测点 %3 个：%4 个在静止段内（其中 %5 个与建议测点相同），%6 个测量时探管未静止；%7 个静止段没有匹配测点</source>
        <translation>%1 still periods, %2 proposed stations; %3 stations matched by the synchronizer: %4 inside a still period (%5 of them the proposed station), %6 with the probe not still at survey; %7 still periods without a matched station</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>通信超时！</source>
        <translation>Communication timed out!</translation>
    </message>
    <message>
        <source>已收到%1条探管数据，共%2条</source>
        <translation>%1 of %2 probe records received</translation>
    </message>
    <message>
        <source>已收到%1条同步标记，共%2条</source>
        <translation>%1 of %2 synchronizer marks received</translation>
    </message>
    <message>
        <source>程序准备就绪</source>
        <translation>Ready</translation>
    </message>
    <message>
        <source>串口没有打开</source>
        <translation>The serial port is not open</translation>
    </message>
    <message>
        <source>警告！</source>
        <translation>Warning!</translation>
    </message>
    <message>
        <source>探管数据尚未保存，重新设置将清空探管中的数据。是否继续？</source>
        <translation>The probe data has not been saved, and a new setting clears the data in the probe. Continue?</translation>
    </message>
    <message>
        <source>请确认</source>
        <translation>Please confirm</translation>
    </message>
    <message>
        <source>重新设置延时时间将会清空探管中的存储数据，是否继续？</source>
        <translation>A new start delay clears the data stored in the probe. Continue?</translation>
    </message>
    <message>
        <source>将会清空同步器中所有数据，是否继续?</source>
        <translation>This clears all data in the synchronizer. Continue?</translation>
    </message>
    <message>
        <source>清空中，稍候....</source>
        <translation>Clearing, please wait....</translation>
    </message>
    <message>
        <source>标定参数读取不完整</source>
        <translation>Calibration read incomplete</translation>
    </message>
    <message>
        <source>通信超时！标定参数读取不完整，仍使用原有的标定参数。</source>
        <translation>Communication timed out! The calibration was not read completely; the previous calibration stays in use.</translation>
    </message>
    <message>
        <source>数据流中断</source>
        <translation>Data stream interrupted</translation>
    </message>
    <message>
        <source>串口连接已断开</source>
        <translation>Serial connection lost</translation>
    </message>
    <message>
        <source>串口%1已打开</source>
        <translation>Serial port %1 opened</translation>
    </message>
    <message>
        <source>未找到有效串口</source>
        <translation>No working serial port found</translation>
    </message>
    <message>
        <source>串口已切换为%1</source>
        <translation>Switched to serial port %1</translation>
    </message>
    <message>
        <source>串口打开失败</source>
        <translation>The serial port could not be opened</translation>
    </message>
    <message>
        <source>数据读取不完整</source>
        <translation>Download incomplete</translation>
    </message>
    <message>
        <source>通信正常</source>
        <translation>Communication OK</translation>
    </message>
    <message>
        <source>读取中，稍候....</source>
        <translation>Downloading, please wait....</translation>
    </message>
    <message>
        <source>无数据</source>
        <translation>No data</translation>
    </message>
    <message>
        <source>数据读取完成</source>
        <translation>Download complete</translation>
    </message>
    <message>
        <source>%1分</source>
        <translation>%1 min</translation>
    </message>
    <message>
        <source>%1秒</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>设备连接正常</source>
        <translation>The device connection is working</translation>
    </message>
    <message>
        <source>任务完成</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>数据已清空，任务完成!</source>
        <translation>Data cleared, done!</translation>
    </message>
    <message>
        <source>读标定参数....</source>
        <translation>Reading the calibration....</translation>
    </message>
    <message>
        <source>探管中没有存储数据</source>
        <translation>No data stored in the probe</translation>
    </message>
    <message>
        <source>没有收到探管数据的数量回复，收到的探管数据已丢弃，请重新读取。</source>
        <translation>The probe did not report how many records it holds, so the records received were discarded. Download again.</translation>
    </message>
    <message>
        <source>%1个同步标记中%2个已匹配</source>
        <translation>%2 of %1 synchronizer marks matched</translation>
    </message>
    <message>
        <source>%1个同步标记中只有%2个匹配到探管数据。可能是探管和同步器的时钟没有校准（时钟校准），请检查两台设备的时钟。</source>
        <translation>Only %2 of %1 synchronizer marks matched probe records. The probe and synchronizer clocks may not be synchronized (Clock Calibration); check the clocks of both devices.</translation>
    </message>
    <message>
        <source>同步器中没有存储数据</source>
        <translation>No data stored in the synchronizer</translation>
    </message>
    <message>
        <source>设备回复信息</source>
        <translation>Device reply</translation>
    </message>
    <message>
        <source>没有收到同步标记的数量回复，收到的同步标记已丢弃，请重新读取。</source>
        <translation>The synchronizer did not report how many marks it holds, so the marks received were discarded. Download again.</translation>
    </message>
    <message>
        <source>探管</source>
        <translation>Probe</translation>
    </message>
    <message>
        <source>同步器</source>
        <translation>Synchronizer</translation>
    </message>
    <message>
        <source>文件不是接收日志或已损坏，无法恢复</source>
        <translation>The file is not a receive journal or is damaged; nothing can be recovered</translation>
    </message>
    <message>
        <source>接收日志在第%1帧处损坏，只恢复了此前的%2帧</source>
        <translation>The receive journal is damaged at frame %1; only the %2 frames before it were recovered</translation>
    </message>
    <message>
        <source>接收日志无法写入，数据仅保存在内存中</source>
        <translation>The receive journal cannot be written; the data is kept in memory only</translation>
    </message>
    <message>
        <source>操作员输入</source>
        <translation>entered by the operator</translation>
    </message>
    <message>
        <source>模型</source>
        <translation>model</translation>
    </message>
    <message>
        <source>测量背景信息之后还有多余的字节，已忽略</source>
        <translation>Extra bytes after the survey context were ignored</translation>
    </message>
    <message>
        <source>文件不完整（数据在中途结束），无法打开。</source>
        <translation>The file is incomplete (the data ends early) and cannot be opened.</translation>
    </message>
    <message>
        <source>文件已损坏：文本长度超出了文件的剩余长度。</source>
        <translation>The file is damaged: a text is longer than the rest of the file.</translation>
    </message>
    <message>
        <source>文件已损坏：记录数量超过了 39768215 条的上限。</source>
        <translation>The file is damaged: the record count exceeds the limit of 39768215 records.</translation>
    </message>
    <message>
        <source>文件已损坏：记录数量超出了文件的剩余长度。</source>
        <translation>The file is damaged: the records do not fit in the rest of the file.</translation>
    </message>
    <message>
        <source>文件已损坏：时间标记数量超出了文件的剩余长度。</source>
        <translation>The file is damaged: the time marks do not fit in the rest of the file.</translation>
    </message>
    <message>
        <source>读取文件时出错，无法打开。</source>
        <translation>Error reading the file; it cannot be opened.</translation>
    </message>
    <message>
        <source>文件不存在，无法打开。</source>
        <translation>The file does not exist and cannot be opened.</translation>
    </message>
    <message>
        <source>没有权限读取该文件。</source>
        <translation>No permission to read this file.</translation>
    </message>
    <message>
        <source>记录数量超过了 39768215 条，无法保存为 TLM 文件。</source>
        <translation>More than 39768215 records cannot be saved as a TLM file.</translation>
    </message>
    <message>
        <source>磁盘空间不足，文件没有保存。</source>
        <translation>Not enough disk space; the file was not saved.</translation>
    </message>
    <message>
        <source>没有权限在该位置写入文件，文件没有保存。</source>
        <translation>No permission to write there; the file was not saved.</translation>
    </message>
    <message>
        <source>该位置是只读的，文件没有保存。</source>
        <translation>That location is read-only; the file was not saved.</translation>
    </message>
    <message>
        <source>写入文件时出错，文件没有保存。</source>
        <translation>Error writing the file; the file was not saved.</translation>
    </message>
    <message>
        <source>文件太大，无法保存。</source>
        <translation>The file is too large to save.</translation>
    </message>
    <message>
        <source>数据格式不匹配，请重新选择</source>
        <translation>Not a survey file; choose another file</translation>
    </message>
    <message>
        <source>打开文档失败。</source>
        <translation>The survey could not be opened.</translation>
    </message>
    <message>
        <source>文件名不正确。</source>
        <translation>The file name is not valid.</translation>
    </message>
    <message>
        <source>文件末尾的多余字节已忽略</source>
        <translation>Extra bytes at the end of the file were ignored</translation>
    </message>
    <message>
        <source>请输入一个数字。</source>
        <translation>Enter a number.</translation>
    </message>
    <message>
        <source>请输入一个-360.0到360.0之间的数据</source>
        <translation>Enter a value between -360.0 and 360.0</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>纬度须在 -90° 到 90° 之间</source>
        <translation>The latitude must be between -90° and 90°</translation>
    </message>
    <message>
        <source>经度须在 -180° 到 360° 之间</source>
        <translation>The longitude must be between -180° and 360°</translation>
    </message>
    <message>
        <source>位置离中央子午线超过 30°，不属于这个投影带</source>
        <translation>The position is more than 30° from the central meridian and outside this projection zone</translation>
    </message>
    <message>
        <source>警示区：水平分量 H ≤ 6000 nT，磁方位不可靠</source>
        <translation>Caution zone: horizontal field H ≤ 6000 nT, magnetic azimuths are unreliable</translation>
    </message>
    <message>
        <source>盲区：水平分量 H ≤ 2000 nT，磁方位不可信</source>
        <translation>Blind zone: horizontal field H ≤ 2000 nT, magnetic azimuths cannot be trusted</translation>
    </message>
    <message>
        <source>找不到地磁模型文件（geomag 文件夹）</source>
        <translation>The geomagnetic model files (geomag folder) were not found</translation>
    </message>
    <message>
        <source>网格北需要井位（纬度、经度）</source>
        <translation>Grid north needs the well position (latitude, longitude)</translation>
    </message>
    <message>
        <source>写入的工作簿不完整（磁盘或临时文件夹可能已满），文件没有导出。</source>
        <translation>The workbook written is incomplete (the disk or the temporary folder may be full); nothing was exported.</translation>
    </message>
    <message>
        <source>要导出的测点有%1个，超出Excel %2-%3工作表可容纳的%4个测点（另有标题行），未导出。</source>
        <translation>%1 stations to export exceed the %4 stations (plus the caption row) an Excel %2-%3 worksheet holds; nothing was exported.</translation>
    </message>
    <message>
        <source>要导出的测点有%1个，超出工作表可容纳的%2个测点（另有标题行），未导出。</source>
        <translation>%1 stations to export exceed the %2 stations (plus the caption row) a worksheet holds; nothing was exported.</translation>
    </message>
    <message>
        <source>导出表格成功</source>
        <translation>Workbook exported</translation>
    </message>
    <message>
        <source>启动Excel服务器失败!</source>
        <translation>Could not start the Excel server!</translation>
    </message>
    <message>
        <source>命令失败。</source>
        <translation>The command failed.</translation>
    </message>
    <message>
        <source>不是可读的Excel工作簿，没有导出：</source>
        <translation>Not a readable Excel workbook; nothing was exported:</translation>
    </message>
    <message>
        <source>序号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>相对时间</source>
        <translation>Relative time</translation>
    </message>
    <message>
        <source>测深</source>
        <translation>MD</translation>
    </message>
    <message>
        <source>井斜</source>
        <translation>Inc</translation>
    </message>
    <message>
        <source>磁方位</source>
        <translation>Mag. az.</translation>
    </message>
    <message>
        <source>重力工具面</source>
        <translation>Gravity TF</translation>
    </message>
    <message>
        <source>磁性工具面</source>
        <translation>Magnetic TF</translation>
    </message>
    <message>
        <source>总磁场</source>
        <translation>Total field</translation>
    </message>
    <message>
        <source>探管温度</source>
        <translation>Probe temperature</translation>
    </message>
    <message>
        <source>电池电压</source>
        <translation>Battery V</translation>
    </message>
    <message>
        <source>标准时间</source>
        <translation>Sample time</translation>
    </message>
    <message>
        <source>真方位</source>
        <translation>True azimuth</translation>
    </message>
    <message>
        <source>磁偏角</source>
        <translation>Declination</translation>
    </message>
    <message>
        <source>温度</source>
        <translation>Temp.</translation>
    </message>
    <message>
        <source>水平投影</source>
        <translation>Plan view</translation>
    </message>
    <message>
        <source>东</source>
        <translation>East</translation>
    </message>
    <message>
        <source>北</source>
        <translation>North</translation>
    </message>
    <message>
        <source>垂直剖面（方位 %1°）</source>
        <translation>Vertical section (azimuth %1°)</translation>
    </message>
    <message>
        <source>视平移</source>
        <translation>Vertical section</translation>
    </message>
    <message>
        <source>垂深</source>
        <translation>TVD</translation>
    </message>
    <message>
        <source>方位</source>
        <translation>Azimuth</translation>
    </message>
    <message>
        <source>狗腿度</source>
        <translation>Dogleg severity</translation>
    </message>
    <message>
        <source>斜深</source>
        <translation>MD</translation>
    </message>
    <message>
        <source>测点 %1（记录顺序与深度顺序不同）</source>
        <translation>%1 stations (record order differs from depth order)</translation>
    </message>
    <message>
        <source>测点 %1</source>
        <translation>%1 stations</translation>
    </message>
    <message>
        <source>略去无效测点 %1</source>
        <translation>%1 invalid stations left out</translation>
    </message>
    <message>
        <source>闭合距 %1 ft</source>
        <translation>Closure distance %1 ft</translation>
    </message>
    <message>
        <source>闭合距 %1 m</source>
        <translation>Closure distance %1 m</translation>
    </message>
    <message>
        <source>闭合方位 %1°</source>
        <translation>Closure azimuth %1°</translation>
    </message>
    <message>
        <source>视平移方位 %1°（闭合方位）</source>
        <translation>Vertical section azimuth %1° (closure azimuth)</translation>
    </message>
    <message>
        <source>视平移方位 %1°</source>
        <translation>Vertical section azimuth %1°</translation>
    </message>
    <message>
        <source>按深度升序计算</source>
        <translation>Computed in ascending depth order</translation>
    </message>
    <message>
        <source>没有选中的测点</source>
        <translation>No station checked</translation>
    </message>
    <message>
        <source>目标不是普通文件（可能是文件夹、设备或管道），没有写入。</source>
        <translation>The target is not a regular file (it may be a folder, a device or a pipe); nothing was written.</translation>
    </message>
    <message>
        <source>目标是共享文件夹中其他用户建立的符号链接，为安全起见没有写入。</source>
        <translation>The target is a symbolic link made by another user in a shared folder; for safety nothing was written.</translation>
    </message>
    <message>
        <source>文件大于 %1 MB，没有读取。</source>
        <translation>The file is larger than %1 MB and was not read.</translation>
    </message>
    <message>
        <source>不是普通文件（可能是文件夹、设备或管道），没有读取。</source>
        <translation>Not a regular file (it may be a folder, a device or a pipe); it was not read.</translation>
    </message>
    <message>
        <source>探管回复的数据数量无效（%1），没有读取任何数据，原有数据保持不变。</source>
        <translation>The probe replied with an invalid data count (%1); no data was read and the existing data is unchanged.</translation>
    </message>
    <message>
        <source>同步器回复的数据数量无效（%1），没有读取任何数据，原有数据保持不变。</source>
        <translation>The synchronizer replied with an invalid data count (%1); no data was read and the existing data is unchanged.</translation>
    </message>
    <message>
        <source>上次读取的探管数据不完整（已收到%1条，共%2条），重新设置将清空探管中的数据。是否继续？</source>
        <translation>The last probe download was incomplete (%1 of %2 samples received). Setting the work mode again erases the data in the probe. Continue?</translation>
    </message>
    <message>
        <source>内存不足，命令没有完成。</source>
        <translation>Out of memory: the command was not completed.</translation>
    </message>
</context>
<context>
    <name>orb::CAboutDlg</name>
    <message>
        <source>关于TALO</source>
        <translation>About TALO</translation>
    </message>
    <message>
        <source>TALO，B4.3 版</source>
        <translation>TALO, version B4.3</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>orb::CComSetDlg</name>
    <message>
        <source>通信端口设置</source>
        <translation>Communication Port</translation>
    </message>
    <message>
        <source>编号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>设备</source>
        <translation>Device</translation>
    </message>
    <message>
        <source>说明</source>
        <translation>Description</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>请选择通信端口</source>
        <translation>Select the communication port</translation>
    </message>
    <message>
        <source>请输入一个整数。</source>
        <translation>Enter a whole number.</translation>
    </message>
</context>
<context>
    <name>orb::CDataModifyDlg</name>
    <message>
        <source>数据修改</source>
        <translation>Data Correction</translation>
    </message>
    <message>
        <source>井斜补偿</source>
        <translation>Inclination offset</translation>
    </message>
    <message>
        <source>方位补偿</source>
        <translation>Azimuth offset</translation>
    </message>
    <message>
        <source>GTF补偿</source>
        <translation>GTF offset</translation>
    </message>
    <message>
        <source>MTF补偿</source>
        <translation>MTF offset</translation>
    </message>
    <message>
        <source>GT补偿</source>
        <translation>GT offset</translation>
    </message>
    <message>
        <source>MT补偿</source>
        <translation>MT offset</translation>
    </message>
    <message>
        <source>DIP补偿</source>
        <translation>DIP offset</translation>
    </message>
    <message>
        <source>请输入数据补偿量，生成数据 = 原数据 + 补偿量</source>
        <translation>Enter the offsets: corrected value = original value + offset</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>orb::CDelaySetDlg</name>
    <message>
        <source>延时设置</source>
        <translation>Work Mode</translation>
    </message>
    <message>
        <source>请设置采样延时时间和采样间隔</source>
        <translation>Set the start delay and the sample interval</translation>
    </message>
    <message>
        <source>延时时间：</source>
        <translation>Start delay:</translation>
    </message>
    <message>
        <source>分</source>
        <translation>min</translation>
    </message>
    <message>
        <source>采样间隔：</source>
        <translation>Sample interval:</translation>
    </message>
    <message>
        <source>秒</source>
        <translation>s</translation>
    </message>
    <message>
        <source>写入探管</source>
        <translation>Write to Probe</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>请输入一个介于%1和%2之间的整数。</source>
        <translation>Enter a whole number between %1 and %2.</translation>
    </message>
</context>
<context>
    <name>orb::CDepthCalcDlg</name>
    <message>
        <source>自动生成井深</source>
        <translation>Compute Depths</translation>
    </message>
    <message>
        <source>初始井深</source>
        <translation>Start depth</translation>
    </message>
    <message>
        <source>段 长</source>
        <translation>Course length</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>orb::CEditCommands</name>
    <message>
        <source>撤销(&amp;U)	Ctrl+Z</source>
        <translation>&amp;Undo	Ctrl+Z</translation>
    </message>
    <message>
        <source>重做(&amp;R)	Ctrl+Y</source>
        <translation>&amp;Redo	Ctrl+Y</translation>
    </message>
</context>
<context>
    <name>orb::CGeoRefController</name>
    <message>
        <source>井位与地磁参考</source>
        <translation>Well Location and Geomagnetic Reference</translation>
    </message>
    <message>
        <source>由井位和日期计算地磁场、正常重力和子午线收敛角</source>
        <translation>Compute the geomagnetic field, normal gravity and grid convergence from the well position and date</translation>
    </message>
    <message>
        <source>轨迹的方位参考</source>
        <translation>North reference of the trajectory</translation>
    </message>
</context>
<context>
    <name>orb::CGeoRefDlg</name>
    <message>
        <source>井位与地磁参考</source>
        <translation>Well Location and Geomagnetic Reference</translation>
    </message>
    <message>
        <source>39.9075 或 39°54&apos;27&quot;N</source>
        <translation>39.9075 or 39°54&apos;27&quot;N</translation>
    </message>
    <message>
        <source>116.3972 或 116°23&apos;50&quot;E</source>
        <translation>116.3972 or 116°23&apos;50&quot;E</translation>
    </message>
    <message>
        <source>UTM（按位置定带）</source>
        <translation>UTM (zone from the position)</translation>
    </message>
    <message>
        <source>高斯-克吕格 3°带</source>
        <translation>Gauss-Krüger 3° zone</translation>
    </message>
    <message>
        <source>高斯-克吕格 6°带</source>
        <translation>Gauss-Krüger 6° zone</translation>
    </message>
    <message>
        <source>横轴墨卡托，中央子午线</source>
        <translation>Transverse Mercator, central meridian</translation>
    </message>
    <message>
        <source>中央子午线 °</source>
        <translation>Central meridian °</translation>
    </message>
    <message>
        <source>同时用正常重力作总加速度参考</source>
        <translation>Also use the normal gravity as the total gravity reference</translation>
    </message>
    <message>
        <source>用作磁偏角</source>
        <translation>Use as Declination</translation>
    </message>
    <message>
        <source>用作质量参考</source>
        <translation>Use as Quality Reference</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>纬度:</source>
        <translation>Latitude:</translation>
    </message>
    <message>
        <source>经度:</source>
        <translation>Longitude:</translation>
    </message>
    <message>
        <source>海拔高度 (m):</source>
        <translation>Height above sea level (m):</translation>
    </message>
    <message>
        <source>测量日期:</source>
        <translation>Survey date:</translation>
    </message>
    <message>
        <source>网格北投影:</source>
        <translation>Grid north projection:</translation>
    </message>
    <message>
        <source>请输入纬度和经度（十进制度或度分秒）</source>
        <translation>Enter the latitude and longitude (decimal degrees or degrees, minutes, seconds)</translation>
    </message>
    <message>
        <source>高度不是数字</source>
        <translation>The height is not a number</translation>
    </message>
    <message>
        <source>没有模型值: </source>
        <translation>No model values: </translation>
    </message>
    <message>
        <source>
正常重力 %1 m/s² (%2 g)</source>
        <translation>
Normal gravity %1 m/s² (%2 g)</translation>
    </message>
    <message>
        <source>
%1  子午线收敛角 %2°  比例 %3</source>
        <translation>
%1  grid convergence %2°  scale %3</translation>
    </message>
    <message>
        <source>
网格: </source>
        <translation>
Grid: </translation>
    </message>
    <message>
        <source>中央子午线不是数字</source>
        <translation>The central meridian is not a number</translation>
    </message>
</context>
<context>
    <name>orb::CHelpWindow</name>
    <message>
        <source>Orb 帮助主题</source>
        <translation>Orb Help Topics</translation>
    </message>
</context>
<context>
    <name>orb::CInforDlg</name>
    <message>
        <source>探管信息</source>
        <translation>Probe Information</translation>
    </message>
    <message>
        <source>探管编号</source>
        <translation>Probe number</translation>
    </message>
    <message>
        <source>探管类型</source>
        <translation>Probe type</translation>
    </message>
    <message>
        <source>探管容量</source>
        <translation>Probe capacity</translation>
    </message>
    <message>
        <source>采样延时时间</source>
        <translation>Start delay</translation>
    </message>
    <message>
        <source>采样间隔时间</source>
        <translation>Sample interval</translation>
    </message>
    <message>
        <source>存储数据数量</source>
        <translation>Stored records</translation>
    </message>
    <message>
        <source>电池电压</source>
        <translation>Battery voltage</translation>
    </message>
    <message>
        <source>剩余电量</source>
        <translation>Battery charge</translation>
    </message>
</context>
<context>
    <name>orb::CMainFrame</name>
    <message>
        <source>菜单栏</source>
        <translation>Menu Bar</translation>
    </message>
    <message>
        <source>通信</source>
        <translation>Communication</translation>
    </message>
    <message>
        <source>探管</source>
        <translation>Probe</translation>
    </message>
    <message>
        <source>同步器</source>
        <translation>Synchronizer</translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>文件(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>数据</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>视图(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>工具栏和停靠窗口(&amp;T)</source>
        <translation>&amp;Toolbars and Docking Windows</translation>
    </message>
    <message>
        <source>应用程序外观(&amp;A)</source>
        <translation>Application &amp;Look</translation>
    </message>
    <message>
        <source>标准</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>就绪</source>
        <translation>Ready</translation>
    </message>
    <message>
        <source>程序准备就绪      </source>
        <translation>Ready      </translation>
    </message>
    <message>
        <source>进度条</source>
        <translation>Progress</translation>
    </message>
    <message>
        <source>CSV 测斜数据表...</source>
        <translation>CSV Survey Listing...</translation>
    </message>
    <message>
        <source>CSV 文件 (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <source>LAS 3.0 测斜文件...</source>
        <translation>LAS 3.0 Survey File...</translation>
    </message>
    <message>
        <source>LAS 文件 (*.las)</source>
        <translation>LAS files (*.las)</translation>
    </message>
    <message>
        <source>WITSML 1.4.1.1 轨迹...</source>
        <translation>WITSML 1.4.1.1 Trajectory...</translation>
    </message>
    <message>
        <source>WITSML 文件 (*.xml)</source>
        <translation>WITSML files (*.xml)</translation>
    </message>
    <message>
        <source>导出</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>正在导出……</source>
        <translation>Exporting…</translation>
    </message>
    <message>
        <source>已从文件恢复磁偏角 %1°（%2）</source>
        <translation>Declination %1° restored from the file (%2)</translation>
    </message>
    <message>
        <source>另存为</source>
        <translation>Save As</translation>
    </message>
    <message>
        <source>正在导出文本文件……</source>
        <translation>Exporting the text file…</translation>
    </message>
    <message>
        <source>正在导出Excel表格……</source>
        <translation>Exporting the Excel workbook…</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>TLM文件 (*.TLM)</source>
        <translation>TLM files (*.TLM)</translation>
    </message>
    <message>
        <source>所有文件 (*.*)</source>
        <translation>All files (*.*)</translation>
    </message>
    <message>
        <source>保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>不保存(&amp;N)</source>
        <translation>Do&amp;n&apos;t Save</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>无标题</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>最近的文件</source>
        <translation>Recent Files</translation>
    </message>
    <message>
        <source>语言 (Language)</source>
        <translation>语言 (&amp;Language)</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>打印失败。</source>
        <translation>Printing failed.</translation>
    </message>
    <message>
        <source>打印预览</source>
        <translation>Print Preview</translation>
    </message>
</context>
<context>
    <name>orb::COrbView</name>
    <message>
        <source>编辑</source>
        <translation>Edit</translation>
    </message>
</context>
<context>
    <name>orb::CPrintSetDlg</name>
    <message>
        <source>多点</source>
        <translation>Multishot</translation>
    </message>
    <message>
        <source>单点</source>
        <translation>Single shot</translation>
    </message>
    <message>
        <source>打印方式设置</source>
        <translation>Print Mode</translation>
    </message>
    <message>
        <source>打印方式</source>
        <translation>Print mode</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>orb::CQualityController</name>
    <message>
        <source>测量质量设置...</source>
        <translation>Survey Quality Settings...</translation>
    </message>
    <message>
        <source>本井的当地重力、总磁场、磁倾角及容差，狗腿度单位和视平移方位</source>
        <translation>Local gravity, total field, dip and tolerances of this well, dogleg severity unit and vertical section azimuth</translation>
    </message>
    <message>
        <source>打印报告时附轨迹页</source>
        <translation>Add Trajectory Page to Report</translation>
    </message>
    <message>
        <source>打印、预览和PDF报告的最后一页为井眼轨迹图</source>
        <translation>The printed, previewed and PDF report ends with a trajectory page</translation>
    </message>
    <message>
        <source>显示或隐藏井眼轨迹面板</source>
        <translation>Show or hide the trajectory panel</translation>
    </message>
    <message>
        <source>超差测点 %1/%2，超差记录 %3/%4</source>
        <translation>Out-of-tolerance stations %1/%2, out-of-tolerance records %3/%4</translation>
    </message>
    <message>
        <source>方位参考无法使用: </source>
        <translation>North reference not usable: </translation>
    </message>
    <message>
        <source>（按真北显示）</source>
        <translation> (shown in true north)</translation>
    </message>
</context>
<context>
    <name>orb::CQualitySetDlg</name>
    <message>
        <source>留空：闭合方位</source>
        <translation>Empty: closure azimuth</translation>
    </message>
    <message>
        <source>°/30m（井深单位 m）</source>
        <translation>°/30m (depths in m)</translation>
    </message>
    <message>
        <source>°/100ft（井深单位 ft）</source>
        <translation>°/100ft (depths in ft)</translation>
    </message>
    <message>
        <source>当地参考值（留空则不检查该项）</source>
        <translation>Local references (leave empty to skip a check)</translation>
    </message>
    <message>
        <source>井号</source>
        <translation>Well</translation>
    </message>
    <message>
        <source>当地重力 (g)</source>
        <translation>Local gravity (g)</translation>
    </message>
    <message>
        <source>重力容差 ± (g)</source>
        <translation>Gravity tolerance ± (g)</translation>
    </message>
    <message>
        <source>当地总磁场 (nT)</source>
        <translation>Local total field (nT)</translation>
    </message>
    <message>
        <source>总磁场容差 ± (nT)</source>
        <translation>Total field tolerance ± (nT)</translation>
    </message>
    <message>
        <source>当地磁倾角 (°)</source>
        <translation>Local dip (°)</translation>
    </message>
    <message>
        <source>磁倾角容差 ± (°)</source>
        <translation>Dip tolerance ± (°)</translation>
    </message>
    <message>
        <source>井眼轨迹</source>
        <translation>Well trajectory</translation>
    </message>
    <message>
        <source>狗腿度单位</source>
        <translation>Dogleg severity unit</translation>
    </message>
    <message>
        <source>视平移方位 (°)</source>
        <translation>Vertical section azimuth (°)</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>每个重力分量的波动 (mg)</source>
        <translation>Spread of each gravity component (mg)</translation>
    </message>
    <message>
        <source>每个磁分量的波动 (nT)</source>
        <translation>Spread of each magnetic component (nT)</translation>
    </message>
    <message>
        <source>井斜变化 (°)</source>
        <translation>Inclination change (°)</translation>
    </message>
    <message>
        <source>方位变化 (°)</source>
        <translation>Azimuth change (°)</translation>
    </message>
    <message>
        <source>井斜大于此值才检查方位 (°)</source>
        <translation>Check the azimuth above this inclination (°)</translation>
    </message>
    <message>
        <source>最少连续样本数</source>
        <translation>Minimum consecutive samples</translation>
    </message>
    <message>
        <source>静止段（按静止段选择测点，测量时探管未静止）</source>
        <translation>Still periods (stations by still periods, probe not still at survey)</translation>
    </message>
    <message>
        <source>（未输入）</source>
        <translation>(not entered)</translation>
    </message>
</context>
<context>
    <name>orb::CRealDisDlg</name>
    <message>
        <source>实时数据显示</source>
        <translation>Real-Time Data</translation>
    </message>
    <message>
        <source>井  斜</source>
        <translation>Inclination</translation>
    </message>
    <message>
        <source>方  位</source>
        <translation>Azimuth</translation>
    </message>
    <message>
        <source>高边工具面</source>
        <translation>High-side TF</translation>
    </message>
    <message>
        <source>磁性工具面</source>
        <translation>Magnetic TF</translation>
    </message>
    <message>
        <source>总加速度</source>
        <translation>Total gravity</translation>
    </message>
    <message>
        <source>总磁场</source>
        <translation>Total field</translation>
    </message>
    <message>
        <source>地磁倾角</source>
        <translation>Dip</translation>
    </message>
    <message>
        <source>温  度</source>
        <translation>Temperature</translation>
    </message>
</context>
<context>
    <name>orb::CRtcProbeDlg</name>
    <message>
        <source>设备时钟校准</source>
        <translation>Device Clock Calibration</translation>
    </message>
    <message>
        <source>当前时间:</source>
        <translation>Computer time:</translation>
    </message>
    <message>
        <source>设备时间:</source>
        <translation>Device time:</translation>
    </message>
    <message>
        <source>读探管时间</source>
        <translation>Read Probe Clock</translation>
    </message>
    <message>
        <source>校准探管时间</source>
        <translation>Set Probe Clock</translation>
    </message>
    <message>
        <source>读同步器时间</source>
        <translation>Read Synchronizer Clock</translation>
    </message>
    <message>
        <source>校准同步器时间</source>
        <translation>Set Synchronizer Clock</translation>
    </message>
</context>
<context>
    <name>orb::CStillSelectDlg</name>
    <message>
        <source>选择建议的测点</source>
        <translation>Select the Proposed Stations</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>确定后，只有建议的记录被选为测点。</source>
        <translation>After OK, only the proposed records are stations.</translation>
    </message>
</context>
<context>
    <name>orb::CStillStripWidget</name>
    <message>
        <source>记录 0</source>
        <translation>Record 0</translation>
    </message>
    <message>
        <source>绿色：静止段  红点：建议测点  橙色：同步器匹配测点</source>
        <translation>Green: still period  Red dot: proposed station  Orange: station matched by the synchronizer</translation>
    </message>
    <message>
        <source>记录 %1</source>
        <translation>Record %1</translation>
    </message>
</context>
<context>
    <name>orb::CToolbarCustomizeDlg</name>
    <message>
        <source>———— 分隔符 ————</source>
        <translation>———— Separator ————</translation>
    </message>
    <message>
        <source>自定义</source>
        <translation>Customize</translation>
    </message>
    <message>
        <source>添加(&amp;A) &gt;</source>
        <translation>&amp;Add &gt;</translation>
    </message>
    <message>
        <source>&lt; 删除(&amp;R)</source>
        <translation>&lt; &amp;Remove</translation>
    </message>
    <message>
        <source>分隔符(&amp;S)</source>
        <translation>&amp;Separator</translation>
    </message>
    <message>
        <source>上移(&amp;U)</source>
        <translation>Move &amp;Up</translation>
    </message>
    <message>
        <source>下移(&amp;D)</source>
        <translation>Move &amp;Down</translation>
    </message>
    <message>
        <source>重置(&amp;E)</source>
        <translation>R&amp;eset</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>可用的命令(&amp;V):</source>
        <translation>A&amp;vailable commands:</translation>
    </message>
    <message>
        <source>工具栏按钮(&amp;T):</source>
        <translation>&amp;Toolbar buttons:</translation>
    </message>
</context>
<context>
    <name>orb::CTrajectoryPanel</name>
    <message>
        <source>保存为PNG...</source>
        <translation>Save as PNG...</translation>
    </message>
    <message>
        <source>保存井眼轨迹图</source>
        <translation>Save the Trajectory Picture</translation>
    </message>
    <message>
        <source>PNG 图片 (*.png)</source>
        <translation>PNG pictures (*.png)</translation>
    </message>
    <message>
        <source>所有文件 (*.*)</source>
        <translation>All files (*.*)</translation>
    </message>
    <message>
        <source>井眼轨迹.png</source>
        <translation>trajectory.png</translation>
    </message>
    <message>
        <source>保存图片失败：</source>
        <translation>The picture could not be saved: </translation>
    </message>
</context>
<context>
    <name>orb::CTxtSetDlg</name>
    <message>
        <source>空格</source>
        <translation>Space</translation>
    </message>
    <message>
        <source>逗号</source>
        <translation>Comma</translation>
    </message>
    <message>
        <source>导出标题，并放在文件第一行</source>
        <translation>Export the captions as the first line of the file</translation>
    </message>
    <message>
        <source>TXT格式设置</source>
        <translation>TXT Format</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>添加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>上移</source>
        <translation>Up</translation>
    </message>
    <message>
        <source>下移</source>
        <translation>Down</translation>
    </message>
    <message>
        <source>数据间分隔符</source>
        <translation>Separator between values</translation>
    </message>
</context>
<context>
    <name>orb::CWellInputDlg</name>
    <message>
        <source>钻井信息输入</source>
        <translation>Well Parameters</translation>
    </message>
    <message>
        <source>井队信息</source>
        <translation>Rig and well</translation>
    </message>
    <message>
        <source>井队编号</source>
        <translation>Rig number</translation>
    </message>
    <message>
        <source>井 号</source>
        <translation>Well</translation>
    </message>
    <message>
        <source>磁偏角</source>
        <translation>Declination</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>orb::RecoveryJournal</name>
    <message>
        <source>恢复</source>
        <translation>Recover</translation>
    </message>
    <message>
        <source>丢弃</source>
        <translation>Discard</translation>
    </message>
    <message>
        <source>上次接收的数据尚未保存：
</source>
        <translation>Data received last time was never saved:
</translation>
    </message>
    <message>
        <source>是否恢复？</source>
        <translation>Recover it?</translation>
    </message>
    <message>
        <source>已恢复未保存的数据：%1条探管数据，%2条同步器数据</source>
        <translation>Unsaved data recovered: %1 probe records, %2 synchronizer marks</translation>
    </message>
</context>
</TS>
